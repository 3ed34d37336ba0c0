// The shared library as a host loads it: every export the public header declares resolves by its
// undecorated name, and nothing else of the engine is exported.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> DeclaredExports() {
  std::ifstream header(VARNEL32_HEADER);
  std::stringstream text;
  text << header.rdbuf();
  const std::string source = text.str();
  std::set<std::string> names;
  const std::regex declaration(R"(VN_CALL\s+(Vn[A-Za-z0-9]+)\s*\()");
  for (std::sregex_iterator it(source.begin(), source.end(), declaration), end; it != end; ++it)
    names.insert((*it)[1]);
  return names;
}

std::set<std::string> ExportedVnSymbols() {
  std::set<std::string> names;
  FILE* nm = popen("nm -D --defined-only '" VARNEL32_SHARED_LIBRARY "'", "r");
  if (nm == nullptr) return names;
  char line[512];
  while (std::fgets(line, sizeof line, nm) != nullptr) {
    std::string name = line;
    name = name.substr(name.find_last_of(' ') + 1);
    name.erase(name.find_last_not_of("\r\n") + 1);
    if (name.rfind("Vn", 0) == 0 || name.find("varnel") != std::string::npos) names.insert(name);
  }
  pclose(nm);
  return names;
}

TEST(SharedLibraryTest, EveryDeclaredExportResolvesByItsUndecoratedName) {
  const std::set<std::string> declared = DeclaredExports();
  ASSERT_GE(declared.size(), 14u) << "the eleven setters and three outputs at least";
  void* library = dlopen(VARNEL32_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const std::string& name : declared) EXPECT_NE(dlsym(library, name.c_str()), nullptr) << name;
  dlclose(library);
}

TEST(SharedLibraryTest, OnlyTheDeclaredExportsAreVisible) {
  EXPECT_EQ(ExportedVnSymbols(), DeclaredExports()) << "engine internals stay hidden";
}

}  // namespace
