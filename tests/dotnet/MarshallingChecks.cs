// The library's rules for texts, paths and contexts, held from .NET through the example's own
// declarations (packaging/windows/Barcodes.cs, compiled with this file): null strings are the empty
// text, null and empty paths write nothing, very long strings are cut to their fields as from C,
// a null context is refused, and the one-byte results and the library's own last-error text come
// back as they should.
//
//   mono MarshallingChecks.exe FOLDER     (an empty folder of its own; it is the working folder)
//
// The last line is "N passed, N failed"; the exit code is 0 only when nothing failed.
using System;
using System.IO;
using System.Linq;

public static class MarshallingChecks
{
    static int passed, failed;

    static void Check(bool ok, string what)
    {
        if (ok) { ++passed; return; }
        ++failed;
        Console.WriteLine("FAILED: " + what);
    }

    // The current picture as the memory output gives it, in the given format.
    static byte[] Picture(int format)
    {
        int size = Varnel.VnRenderToMemory(format, null, 0);
        var bytes = new byte[Math.Max(size, 0)];
        return size > 0 && Varnel.VnRenderToMemory(format, bytes, size) == size ? bytes : new byte[0];
    }

    // The SVG, which holds the texts as they were taken (the data, the face name, the add-on digits),
    // and the last error after setting up with the given step.
    static Tuple<byte[], string> Drawn(Action settings)
    {
        Varnel.VnSetDefault();
        settings();
        byte[] svg = Picture(Varnel.FormatSvg);
        return Tuple.Create(svg, Varnel.LastError());
    }

    static void CheckSameDrawing(Action one, Action other, string what)
    {
        var a = Drawn(one);
        var b = Drawn(other);
        Check(a.Item1.Length > 0 && a.Item1.SequenceEqual(b.Item1) && a.Item2 == b.Item2, what);
    }

    static bool Holds(byte[] svg, string text)
    {
        return System.Text.Encoding.ASCII.GetString(svg).Contains(text);
    }

    static void NullTextsAreTheEmptyText()
    {
        CheckSameDrawing(() => Varnel.VnSetMessage(""), () => Varnel.VnSetMessage(null), "a null message is the empty one");
        CheckSameDrawing(() => Varnel.VnFontInfo("", 24), () => Varnel.VnFontInfo(null, 24), "a null face name is the empty one");
        Action ean = () => { Varnel.VnBasicInfo(7, 0.07, 2.0, 0, 0); Varnel.VnSetMessage("590123412345"); };
        CheckSameDrawing(() => { ean(); Varnel.VnSupplementInfo(2, "", 0.5); },
                         () => { ean(); Varnel.VnSupplementInfo(2, null, 0.5); }, "null add-on digits are the empty ones");
    }

    static void VeryLongTextsAreCutToTheirFields()
    {
        string message = new string('7', 100000), face = new string('F', 10000), digits = new string('5', 10000);
        CheckSameDrawing(() => { Varnel.VnBasicInfo(2, 0.07, 2.0, 0, 0); Varnel.VnSetMessage(message); },
                         () => { Varnel.VnBasicInfo(2, 0.07, 2.0, 0, 0); Varnel.VnSetMessage(message.Substring(0, 999)); },
                         "a message of 100000 characters is its first 999");
        CheckSameDrawing(() => Varnel.VnFontInfo(face, 24), () => Varnel.VnFontInfo(face.Substring(0, 31), 24),
                         "a face name of 10000 characters is its first 31");
        var drawn = Drawn(() => Varnel.VnFontInfo(face, 24));
        Check(Holds(drawn.Item1, face.Substring(0, 31)) && !Holds(drawn.Item1, face.Substring(0, 32)),
              "the SVG names the face by its first 31 characters");
        Action ean = () => { Varnel.VnBasicInfo(7, 0.07, 2.0, 0, 0); Varnel.VnSetMessage("590123412345"); };
        CheckSameDrawing(() => { ean(); Varnel.VnSupplementInfo(1, digits, 0.5); },
                         () => { ean(); Varnel.VnSupplementInfo(1, digits.Substring(0, 11), 0.5); },
                         "add-on digits of 10000 characters are their first 11");
    }

    static void NoPathWritesNothing(IntPtr context)
    {
        var saves = new Func<string, bool>[] {
            Varnel.VnSaveAsBMP, Varnel.VnSaveAsWMF, Varnel.VnSaveAsEMF, Varnel.VnSaveAsSVG, Varnel.VnSaveAsPNG,
            p => Varnel.VnCtxSaveAsBMP(context, p), p => Varnel.VnCtxSaveAsWMF(context, p),
            p => Varnel.VnCtxSaveAsEMF(context, p), p => Varnel.VnCtxSaveAsSVG(context, p),
            p => Varnel.VnCtxSaveAsPNG(context, p),
        };
        Varnel.VnSetDefault();
        Varnel.VnCtxSetDefault(context);
        string tooLong = new string('n', 100000) + ".bmp", nameTooLong = new string('n', 300) + ".bmp";
        for (int i = 0; i < saves.Length; ++i)
        {
            Check(!saves[i](null), "a null path is refused: output " + i);
            Check(!saves[i](""), "an empty path is refused: output " + i);
            Check(!saves[i](tooLong), "a path of 100000 characters is refused: output " + i);
            Check(!saves[i](nameTooLong), "a file name of 300 characters is refused: output " + i);
        }
        Check(Directory.GetFileSystemEntries(".").Length == 0, "refused paths leave the working folder empty");
        // A good path is written, and its true comes back as true.
        Check(Varnel.VnSaveAsBMP("written.bmp") && File.Exists("written.bmp"), "a good path is written");
        Check(Varnel.VnSaveAsBMP("written.bmp") && Varnel.VnSaveAsBMP("written.bmp") && !Varnel.VnSaveAsBMP(""),
              "each one-byte result is read as it is, whatever was returned before");
    }

    static void NullContextIsRefused()
    {
        Varnel.VnCtxSetMessage(IntPtr.Zero, "12");
        Varnel.VnCtxBasicInfo(IntPtr.Zero, 7, 0.07, 2.0, 0, 0);
        Varnel.VnCtxSetBarHeight(IntPtr.Zero, 2.0);
        int length = -1, thickness = -1;
        Check(!Varnel.VnCtxMeasure(IntPtr.Zero, out length, out thickness) && length == 0 && thickness == 0,
              "a null context measures nothing, its sizes 0");
        Check(Varnel.LastError(IntPtr.Zero) == "", "a null context's last error is empty");
        Check(!Varnel.VnCtxSaveAsBMP(IntPtr.Zero, "null-context.bmp") && !File.Exists("null-context.bmp"),
              "a null context writes no file");
        Check(Varnel.VnCtxRenderToMemory(IntPtr.Zero, Varnel.FormatBmp, null, 0) == 0, "a null context renders nothing");
    }

    static void MemoryAndLastError(IntPtr context)
    {
        Varnel.VnCtxSetDefault(context);
        Varnel.VnCtxBasicInfo(context, 7, 0.07, 2.0, 0, 0);
        Varnel.VnCtxSetMessage(context, "12");
        int size = Varnel.VnCtxRenderToMemory(context, Varnel.FormatPng, null, 0);
        var shortBuffer = Enumerable.Repeat((byte)0xA5, Math.Max(size - 1, 0)).ToArray();
        Check(size > 0 && Varnel.VnCtxRenderToMemory(context, Varnel.FormatPng, shortBuffer, shortBuffer.Length) == size &&
              shortBuffer.All(b => b == 0xA5), "a buffer one byte short is left as it was");
        Check(Varnel.VnCtxSaveAsPNG(context, "refused.png") &&
              File.ReadAllBytes("refused.png").SequenceEqual(ContextPng(context, size)),
              "the memory output's bytes are the file's");
        // Read twice: the text stays the library's, not freed by the marshaller.
        Check(Varnel.LastError(context) == "12 digits are required." && Varnel.LastError(context) == "12 digits are required.",
              "the context's last error: \"" + Varnel.LastError(context) + "\"");
        int length, thickness;
        Varnel.VnCtxSetMessage(context, "590123412345");
        Check(Varnel.VnCtxMeasure(context, out length, out thickness) && length > 0 && thickness > 0 &&
              Varnel.LastError(context) == "", "a good EAN-13 measures " + length + " by " + thickness);
    }

    static byte[] ContextPng(IntPtr context, int size)
    {
        var bytes = new byte[size];
        return Varnel.VnCtxRenderToMemory(context, Varnel.FormatPng, bytes, size) == size ? bytes : new byte[0];
    }

    public static int Main(string[] args)
    {
        Directory.CreateDirectory(args[0]);
        Directory.SetCurrentDirectory(args[0]);
        foreach (string entry in Directory.GetFiles(".")) File.Delete(entry);
        IntPtr context = Varnel.VnCreateContext();
        Check(context != IntPtr.Zero, "a context is made");
        NullTextsAreTheEmptyText();
        VeryLongTextsAreCutToTheirFields();
        NoPathWritesNothing(context);
        NullContextIsRefused();
        MemoryAndLastError(context);
        Varnel.VnDestroyContext(context);
        Console.WriteLine("{0} passed, {1} failed", passed, failed);
        return failed == 0 && passed > 0 ? 0 : 1;
    }
}
