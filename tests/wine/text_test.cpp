// The text store through the exports: SetText, Text and the row queries.
#include <gtest/gtest.h>

#include <windows.h>

#include "dll_host.h"

namespace {

class DllText : public ::testing::Test {
 protected:
  void SetUp() override {
    host::Record configuration = host::Configuration(4);
    host::Export<SetConfigurationFn>("SetConfiguration")(configuration.data());
    handle = host::Export<CreateGridFn>("CreateGrid")();
  }
  void TearDown() override { host::Export<DeleteGridFn>("DeleteGrid")(handle); }

  std::string Text(bool expand) {
    std::string buffer(1 << 24, '\0');
    const int32_t length = text(handle, buffer.data(), static_cast<int32_t>(buffer.size()), expand ? 1 : 0);
    return length < 0 ? "<none>" : buffer.substr(0, static_cast<size_t>(length));
  }

  int32_t handle = -1;
  SetTextFn setText = host::Export<SetTextFn>("SetText");
  TextFn text = host::Export<TextFn>("Text");
};

TEST_F(DllText, RowsAndQueries) {
  EXPECT_EQ(Text(false), "<none>");
  setText(handle, "a\nbc\r\n\td", 8, 0);
  EXPECT_EQ(host::Export<HandleFn>("NumberOfRows")(handle), 3);
  EXPECT_EQ(host::Export<HandleRowFn>("ColumnsInRow")(handle, 2), 2);
  host::Record last(8);
  host::Export<HandleRecordFn>("LastRowAndColumn")(handle, last.data());
  EXPECT_EQ(last.Get(0), 3);
  EXPECT_EQ(last.Get(4), 3);
  char row[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(host::Export<StringAtRowFn>("StringAtRow")(handle, 2, row, 4), 2);
  EXPECT_EQ(std::string(row, 4), std::string("bc\0\0", 4));
  EXPECT_EQ(Text(false), "a\r\nbc\r\n\td");
}

TEST_F(DllText, TextStopsAtTheBufferSize) {
  setText(handle, "abcdef", 0, 0);
  char buffer[8] = "#######";
  EXPECT_EQ(text(handle, buffer, 4, 0), 3);
  EXPECT_EQ(std::string(buffer, 8), std::string("abc\0###\0", 8));
}

TEST_F(DllText, ConversionRoundTrips) {
  setText(handle, "    x := 1.\n        y := 'a    b'.", 0, 1);
  EXPECT_EQ(Text(false), "\tx := 1.\r\n\t\ty := 'a    b'.");
  EXPECT_EQ(Text(true), "    x := 1.\r\n        y := 'a    b'.");
}

TEST_F(DllText, CorpusFilesRoundTrip) {
  WIN32_FIND_DATAA found;
  const std::string directory = WEFT_CORPUS_DIR;
  HANDLE search = FindFirstFileA((directory + "/*.st").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) GTEST_SKIP() << "corpus not found at " << directory;
  int files = 0;
  do {
    const std::string content = host::ReadFile(directory + "/" + found.cFileName);
    std::string expected;
    for (size_t i = 0; i < content.size(); ++i) {
      if (content[i] == '\n' && (i == 0 || content[i - 1] != '\r')) expected += '\r';
      expected += content[i];
    }
    const bool hasTabs = content.find('\t') != std::string::npos;
    for (int convert = 0; convert < 2; ++convert) {
      setText(handle, content.data(), static_cast<int32_t>(content.size()), convert);
      ASSERT_TRUE(Text(convert && !hasTabs) == expected) << found.cFileName << " convert " << convert;
    }
    ++files;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_GT(files, 100);
}

}  // namespace
