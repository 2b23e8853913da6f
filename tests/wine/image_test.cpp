// The DLL's image as Windows sees it: undecorated export names, and imports
// from system DLLs only (the C++ runtime is linked in statically).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "dll_host.h"

namespace {

const std::set<std::string> kAllExports = {
    "AddKeyword", "AtPoint", "BeginsWithIgnoreCase", "CalcMatchWeight", "CellExtent",
    "CellForPoint", "CellSize", "ColumnsInRow", "CreateGrid", "DeleteGrid", "DeleteKeyword",
    "DeleteSection", "Display", "FindPattern", "GetLogFont", "IndexForPoint",
    "IndexFromPixelWidth", "InsertCell", "InsertString", "IsHandleOk", "LastRowAndColumn",
    "NextToken", "NonTabbedToTabbedIndex", "NumberOfRows", "PointAfter", "PointAtDistanceFrom",
    "PointBefore", "PointForCell", "PointForIndex", "PreviousToken", "RebuildDataStructures",
    "RewindTokens", "SetConfiguration", "SetDefaultBackColor", "SetDefaultForeColor", "SetFont",
    "SetText", "SetTopCorner", "StringAtRow", "Text", "TextInRect", "TokenAt", "VersionNumber",
    "VisualColumnFor"};

const BYTE* Base() { return reinterpret_cast<const BYTE*>(host::Library()); }

const IMAGE_DATA_DIRECTORY& Directory(int index) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Base());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(Base() + dos->e_lfanew);
  return nt->OptionalHeader.DataDirectory[index];
}

std::set<std::string> ExportNames() {
  const IMAGE_DATA_DIRECTORY& directory = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(Base() + directory.VirtualAddress);
  const auto* names = reinterpret_cast<const DWORD*>(Base() + exports->AddressOfNames);
  std::set<std::string> result;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) result.insert(reinterpret_cast<const char*>(Base() + names[i]));
  return result;
}

TEST(DllImage, ExportsAreUndecoratedNamesOfTheInterface) {
  const std::set<std::string> names = ExportNames();
  EXPECT_FALSE(names.empty());
  for (const std::string& name : names) {
    EXPECT_EQ(name.find('@'), std::string::npos) << name;
    EXPECT_NE(name[0], '_') << name;
    EXPECT_TRUE(kAllExports.count(name)) << "unexpected export " << name;
  }
  EXPECT_EQ(names, kAllExports);
}

TEST(DllImage, ImportsOnlySystemLibraries) {
  const std::set<std::string> system = {"kernel32.dll", "msvcrt.dll", "gdi32.dll", "user32.dll"};
  const IMAGE_DATA_DIRECTORY& directory = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
  const auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Base() + directory.VirtualAddress);
  int count = 0;
  for (; import->Name != 0; ++import, ++count) {
    std::string name = reinterpret_cast<const char*>(Base() + import->Name);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_TRUE(system.count(name)) << "imports " << name;
  }
  EXPECT_GT(count, 0);
}

}  // namespace
