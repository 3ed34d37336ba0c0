// Varnel32 from .NET: the P/Invoke declarations of every export of varnel32.h (the Varnel class, to
// copy into a program as it is), and a program that draws every symbology into a BMP and a PNG.
//
//   csc Barcodes.cs        (or Mono's mcs Barcodes.cs)
//   Barcodes.exe FOLDER    with Varnel32.dll beside it: the x86 one for a 32-bit process, the x64
//                          one for a 64-bit process (a .NET program built for AnyCPU is 64-bit on a
//                          64-bit Windows)
//
// It writes NN.bmp and NN.png for symbology NN, and index.txt, a line of '|'-separated fields for
// each: the file's name without its extension, the symbology, the narrow width in cm, the ratio,
// the bar height in cm, the three switches of VnTextInfo, the picture's width and height, the
// symbol's length and thickness as VnMeasure gave them, and the data, last. It prints what it drew
// and exits with 1 when something could not be drawn.
using System;
using System.Globalization;
using System.IO;
using System.Runtime.InteropServices;

public static class Varnel
{
    // Varnel32.dll on Windows (file names are not case-sensitive there); libvarnel32.so on Linux.
    const string Library = "varnel32";
    // VN_CALL: __stdcall for the 32-bit DLL; x64 has one calling convention, which this names too.
    const CallingConvention Call = CallingConvention.StdCall;
    // Texts are 8-bit strings: the ANSI code page on Windows (UTF-8 on other systems' .NET). A null
    // string reaches the library as NULL, which it takes as the empty text (a path as no file).
    const CharSet Text = CharSet.Ansi;

    public const int FormatBmp = 1, FormatWmf = 2, FormatEmf = 3, FormatSvg = 4, FormatPng = 5;

    // ---- Settings ----
    [DllImport(Library, CallingConvention = Call)] public static extern void VnSetDefault();
    [DllImport(Library, CallingConvention = Call)] public static extern void VnSetSize(int width, int height);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] public static extern void VnSetMessage(string data);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] public static extern void VnFontInfo(string faceName, int fontHeight);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnTextInfo(int showText, int addCheckDigit, int checkDigitInText);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCodaBarInfo(int start, int stop);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnUPCESystem(int system);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] public static extern void VnSupplementInfo(int kind, string digits, double gapCm);
    [DllImport(Library, CallingConvention = Call)]
    public static extern void VnBasicInfo(int symbology, double narrowWidthCm, double wideRatio, int orientation, int frameStyle);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnSetBackColor(int red, int green, int blue);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnSetBarColor(int red, int green, int blue);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnSetSymbology(int symbology);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnSetBarHeight(double heightCm);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnSetTransparentBackground(int transparent);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnSetScreenResolution(int dpiX, int dpiY);

    // ---- Outputs ----
    // The results are one-byte booleans (VnBool); .NET's default for bool is the four-byte BOOL,
    // whose upper bytes the library never sets.
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnSaveAsBMP(string path);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnSaveAsWMF(string path);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnSaveAsEMF(string path);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnSaveAsSVG(string path);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnSaveAsPNG(string path);
    [DllImport(Library, CallingConvention = Call)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCopyToClipboard();
    // Called with null and 0 they return the size; then with an array of at least that size.
    [DllImport(Library, CallingConvention = Call)] public static extern int VnRenderToMemory(int format, byte[] buffer, int size);
    [DllImport(Library, CallingConvention = Call)] public static extern int VnGetClipboardEMF(byte[] buffer, int size);
    [DllImport(Library, CallingConvention = Call)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnMeasure(out int length, out int thickness);
    [DllImport(Library, CallingConvention = Call)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnMeasureReach(out int before, out int after, out int above, out int below,
                                             out int frame);
    // The text belongs to the library: a string result would have the marshaller free it, so the
    // pointer is read with LastError().
    [DllImport(Library, CallingConvention = Call)] public static extern IntPtr VnGetLastError();
    public static string LastError() { return Marshal.PtrToStringAnsi(VnGetLastError()); }
    // Why the last file export that returned false failed: the C runtime's errno, 0 after a save.
    [DllImport(Library, CallingConvention = Call)] public static extern int VnGetLastSaveError();

    // ---- Contexts: one per thread that draws, IntPtr.Zero refused by every VnCtx export ----
    [DllImport(Library, CallingConvention = Call)] public static extern IntPtr VnCreateContext();
    [DllImport(Library, CallingConvention = Call)] public static extern void VnDestroyContext(IntPtr context);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxSetDefault(IntPtr context);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxSetSize(IntPtr context, int width, int height);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] public static extern void VnCtxSetMessage(IntPtr context, string data);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)]
    public static extern void VnCtxFontInfo(IntPtr context, string faceName, int fontHeight);
    [DllImport(Library, CallingConvention = Call)]
    public static extern void VnCtxTextInfo(IntPtr context, int showText, int addCheckDigit, int checkDigitInText);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxCodaBarInfo(IntPtr context, int start, int stop);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxUPCESystem(IntPtr context, int system);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)]
    public static extern void VnCtxSupplementInfo(IntPtr context, int kind, string digits, double gapCm);
    [DllImport(Library, CallingConvention = Call)]
    public static extern void VnCtxBasicInfo(IntPtr context, int symbology, double narrowWidthCm, double wideRatio, int orientation,
                                             int frameStyle);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxSetSymbology(IntPtr context, int symbology);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxSetBackColor(IntPtr context, int red, int green, int blue);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxSetBarColor(IntPtr context, int red, int green, int blue);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxSetBarHeight(IntPtr context, double heightCm);
    [DllImport(Library, CallingConvention = Call)] public static extern void VnCtxSetTransparentBackground(IntPtr context, int transparent);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCtxSaveAsBMP(IntPtr context, string path);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCtxSaveAsWMF(IntPtr context, string path);
    [DllImport(Library, CallingConvention = Call)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCtxCopyToClipboard(IntPtr context);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCtxSaveAsEMF(IntPtr context, string path);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCtxSaveAsSVG(IntPtr context, string path);
    [DllImport(Library, CallingConvention = Call, CharSet = Text)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCtxSaveAsPNG(IntPtr context, string path);
    [DllImport(Library, CallingConvention = Call)]
    public static extern int VnCtxRenderToMemory(IntPtr context, int format, byte[] buffer, int size);
    [DllImport(Library, CallingConvention = Call)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCtxMeasure(IntPtr context, out int length, out int thickness);
    [DllImport(Library, CallingConvention = Call)] [return: MarshalAs(UnmanagedType.U1)]
    public static extern bool VnCtxMeasureReach(IntPtr context, out int before, out int after, out int above,
                                                out int below, out int frame);
    [DllImport(Library, CallingConvention = Call)] public static extern IntPtr VnCtxGetLastError(IntPtr context);
    public static string LastError(IntPtr context) { return Marshal.PtrToStringAnsi(VnCtxGetLastError(context)); }
    [DllImport(Library, CallingConvention = Call)] public static extern int VnCtxGetLastSaveError(IntPtr context);
}

public static class Barcodes
{
    // A sample for each symbology, by the number VnSetSymbology takes.
    static readonly string[] Samples = {
        "40156", "123-45", "Varnel 32", "VN-32", "Vn+32", "CODE 93", "1234567890", "590123412345", "9638507",
        "12345678", "0306406152", "490123456789", "4901234", "123456", "80523", "01234567890", "12345",
        "001234567890123456", "00614141999996", "03600029145", "04210000526", "(01)09501101530003(10)AB12",
        "1540014128876",
    };

    const double NarrowCm = 0.05, Ratio = 2.5, BarHeightCm = 1.2;
    const int ShowText = 1, AddCheckDigit = 1, CheckDigitInText = 1;
    // Room around the symbol for its quiet zones and the digits beside EAN and UPC symbols.
    const int Margin = 40;

    // A number as C's strtod reads it back, whatever the culture.
    static string Number(double value) { return value.ToString("R", CultureInfo.InvariantCulture); }

    public static int Main(string[] args)
    {
        string folder = args.Length > 0 ? args[0] : "barcodes";
        Directory.CreateDirectory(folder);
        int failures = 0;
        using (var index = new StreamWriter(Path.Combine(folder, "index.txt")))
        {
            index.NewLine = "\n";
            for (int symbology = 0; symbology < Samples.Length; ++symbology)
            {
                string data = Samples[symbology];
                Varnel.VnSetDefault();
                Varnel.VnBasicInfo(symbology, NarrowCm, Ratio, 0, 0);
                Varnel.VnSetSymbology(symbology);  // 21 and 22 are chosen with this alone
                Varnel.VnSetMessage(data);
                Varnel.VnTextInfo(ShowText, AddCheckDigit, CheckDigitInText);
                Varnel.VnSetBarHeight(BarHeightCm);

                // The picture is sized to the symbol it holds.
                int length, thickness;
                if (!Varnel.VnMeasure(out length, out thickness))
                {
                    Console.WriteLine("{0:D2} {1}: refused: {2}", symbology, data, Varnel.LastError());
                    ++failures;
                    continue;
                }
                int width = length + 2 * Margin, height = thickness + 2 * Margin;
                Varnel.VnSetSize(width, height);

                string name = symbology.ToString("D2");
                string stem = Path.Combine(folder, name);
                bool bmp = Varnel.VnSaveAsBMP(stem + ".bmp"), png = Varnel.VnSaveAsPNG(stem + ".png");
                Console.WriteLine("{0} {1}: {2} by {3} pixels, BMP {4}, PNG {5}", name, data, width, height,
                                  bmp ? "written" : "failed", png ? "written" : "failed");
                if (!bmp || !png) ++failures;
                index.WriteLine(string.Join("|", new object[] {
                    name, symbology, Number(NarrowCm), Number(Ratio), Number(BarHeightCm), ShowText, AddCheckDigit,
                    CheckDigitInText, width, height, length, thickness, data }));
            }
        }
        return failures == 0 ? 0 : 1;
    }
}
