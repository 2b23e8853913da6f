#include "fuzz/call_script.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace weft::fuzz {

namespace {

constexpr int32_t kExtremes[16] = {INT32_MIN, INT32_MIN + 1, -1000000, -65536,  -32768,        -2,       0, 1, 255, 256,
                                   32767,     65536,         1000000,  1 << 30, INT32_MAX - 1, INT32_MAX};
constexpr int32_t kSmallBias = 16;  // small numbers run from -16 to 111
constexpr uint8_t kFirstExtreme = 0x80;
constexpr uint8_t kFirstRaw = 0x90;
constexpr uint8_t kFirstLongText = 0xF0;
constexpr uint8_t kRepeatedLine = 0xFF;
constexpr size_t kRepeatedLineLength = 100 * 1024;
// A regular-expression search costs O(text length × pattern items) by design;
// a 100 KB pattern over a 100 KB line is 10^10 steps, minutes under the
// sanitizers. Patterns are cut so that one search stays within this product.
constexpr size_t kMaxSearchWork = size_t{1} << 25;
constexpr uint8_t kFirstRawHandle = 0xF0;
constexpr int kSlots = 4;
constexpr size_t kMaxLiveGrids = 16;
constexpr int32_t kUntouched = 0x5A5A5A5A;

// Reads the script's parts; past the end every byte reads as 0.
class TScriptReader {
 public:
  TScriptReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool done() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  bool Flag() { return (Byte() & 1) != 0; }

  // Small numbers, the extremes of 32 bits and their neighbours, or any.
  int32_t Number() {
    const uint8_t b = Byte();
    if (b < kFirstExtreme) return int32_t{b} - kSmallBias;
    if (b < kFirstRaw) return kExtremes[b - kFirstExtreme];
    uint32_t raw = 0;
    for (int i = 0; i < 4; ++i) raw |= uint32_t{Byte()} << (8 * i);
    return static_cast<int32_t>(raw);
  }

  // Any bytes: a short text, a longer one with a 16-bit length, or a line of
  // 100 KB repeating a few bytes.
  std::string Text() {
    const uint8_t b = Byte();
    size_t length = b;
    if (b == kRepeatedLine) {
      const size_t period = size_t{Byte()} % 8 + 1;
      const std::string pattern = Take(period);
      std::string text;
      text.reserve(kRepeatedLineLength);
      while (text.size() < kRepeatedLineLength) text += pattern.empty() ? std::string(1, 'x') : pattern;
      return text;
    }
    if (b >= kFirstLongText) length = size_t{Byte()} | size_t{Byte()} << 8;
    return Take(length);
  }

 private:
  std::string Take(size_t length) {
    length = std::min(length, size_ - std::min(at_, size_));
    std::string taken(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += length;
    return taken;
  }

  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// A buffer of `size` bytes with guard bytes on both sides, filled so that
// writes show.
class TGuardedBuffer {
 public:
  explicit TGuardedBuffer(int32_t size) : bytes_(static_cast<size_t>(std::max(size, 0)) + 2 * kGuard, kFill) {}
  char* data() { return bytes_.data() + kGuard; }
  size_t size() const { return bytes_.size() - 2 * kGuard; }
  // The first `count` bytes, never more than the buffer holds, for the
  // transcript of an answer that may itself be wrong.
  std::string_view First(int32_t count) {
    return {data(), std::min(static_cast<size_t>(std::max(count, 0)), size())};
  }
  bool GuardsIntact() const {
    return std::all_of(bytes_.begin(), bytes_.begin() + kGuard, [](char c) { return c == kFill; }) &&
           std::all_of(bytes_.end() - kGuard, bytes_.end(), [](char c) { return c == kFill; });
  }
  bool Untouched() const {
    return std::all_of(bytes_.begin(), bytes_.end(), [](char c) { return c == kFill; });
  }

 private:
  static constexpr size_t kGuard = 16;
  static constexpr char kFill = '\xA5';
  std::vector<char> bytes_;
};

uint64_t Hash(std::string_view bytes) {
  uint64_t hash = 1469598103934665603u;
  for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  return hash;
}

// One transcript line.
class TLine {
 public:
  explicit TLine(const char* call) : text_(call) {}
  TLine& operator<<(int32_t value) {
    text_ += ' ';
    text_ += std::to_string(value);
    return *this;
  }
  // Bytes, quoted when short, else their length and hash.
  TLine& Bytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    if (bytes.size() > 48) {
      text_ += " #" + std::to_string(bytes.size()) + ':' + std::to_string(Hash(bytes));
      return *this;
    }
    text_ += " \"";
    for (char c : bytes) {
      const auto u = static_cast<unsigned char>(c);
      if (u >= 0x20 && u < 0x7F && c != '"' && c != '\\') {
        text_ += c;
      } else {
        text_ += "\\x";
        text_ += kHex[u >> 4];
        text_ += kHex[u & 15];
      }
    }
    text_ += '"';
    return *this;
  }
  TLine& Point(const WeftPoint& point) { return *this << point.x << point.y; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

class TScriptRun {
 public:
  TScriptRun(const uint8_t* data, size_t size, const TExports& exports, const TScriptOptions& options,
             TScriptObserver& observer)
      : in_(data, size), exports_(exports), options_(options), observer_(observer) {
    view_.window = options.window;
  }

  void Run();

 private:
  void Step(uint8_t call);
  void Begin();
  void End();

  int32_t Handle() {
    const uint8_t b = in_.Byte();
    handle_ = b < kFirstRawHandle ? slots_[b % kSlots] : in_.Number();
    live_ = std::find(liveGrids_.begin(), liveGrids_.end(), handle_) != liveGrids_.end();
    if (!live_) before_ = Fingerprint();
    return handle_;
  }
  // After a call on the handle Handle() read: a dead one must have answered
  // `none` and left every grid as it was.
  void ExpectNoneIfDead(const char* call, int32_t answer, int32_t none) {
    if (live_) return;
    if (answer != none) observer_.Fail(std::string(call) + " answered for a dead handle");
    if (Fingerprint() != before_) observer_.Fail(std::string(call) + " on a dead handle changed a grid");
  }
  void ExpectUntouchedIfDead(const char* call, bool untouched) {
    if (!live_ && !untouched) observer_.Fail(std::string(call) + " wrote a record for a dead handle");
  }
  void ExpectGuards(const char* call, const TGuardedBuffer& buffer) {
    if (!buffer.GuardsIntact()) observer_.Fail(std::string(call) + " wrote past its buffer");
  }
  void Expect(bool holds, const std::string& what) {
    if (!holds) observer_.Fail(what);
  }
  // What a dead-handle call must leave as it was: every live grid's text and
  // top corner.
  std::string Fingerprint();
  std::string TextOf(int32_t handle);
  WeftView* View() { return in_.Flag() ? &view_ : nullptr; }
  void Settle(int32_t handle) {
    if (live_) {
      Forget(settledGrids_, handle);
      settledGrids_.push_back(handle);
    }
  }
  static void Forget(std::vector<int32_t>& handles, int32_t handle) {
    handles.erase(std::remove(handles.begin(), handles.end(), handle), handles.end());
  }

  // A call that maps (a, b) of a grid to a point, and what it answered.
  struct TPointCall {
    int32_t handle;
    WeftPoint from;
    WeftPoint answer;
  };
  TPointCall Point(const char* call, void(WEFT_CALL* function)(int32_t, int32_t, int32_t, WeftPoint*));
  void CheckStepUndone(const TPointCall& step, bool forward);
  void CheckIndexRoundTrip(int32_t handle, int32_t index, const WeftPoint& point);
  WeftPoint EndOfText(int32_t handle) {
    WeftPoint end{};
    exports_.LastRowAndColumn(handle, &end);
    return end;
  }
  // Whether `point` lies on a row of the text, from column 1 up to
  // `pastRowEnd` columns past the row's last character.
  bool OnTextRow(int32_t handle, const WeftPoint& point, int32_t pastRowEnd) {
    return point.y >= 1 && point.y <= exports_.NumberOfRows(handle) && point.x >= 1 &&
           point.x <= exports_.ColumnsInRow(handle, point.y) + pastRowEnd;
  }
  void Token(const char* call, int32_t answer, const WeftTokenRecord& token, bool passed);

  TScriptReader in_;
  const TExports& exports_;
  const TScriptOptions& options_;
  TScriptObserver& observer_;
  WeftView view_{};
  int32_t slots_[kSlots] = {-1, -1, -1, -1};
  std::vector<int32_t> liveGrids_;
  std::vector<int32_t> settledGrids_;
  std::vector<std::string> keywords_;
  int32_t handle_ = -1;
  bool live_ = false;
  std::string before_;
};

std::string TScriptRun::TextOf(int32_t handle) {
  const int32_t rows = exports_.NumberOfRows(handle);
  int64_t size = 1;
  for (int32_t row = 1; row <= rows; ++row) size += exports_.ColumnsInRow(handle, row) + 2;
  std::string text(static_cast<size_t>(size), '\0');
  const int32_t length = exports_.Text(handle, text.data(), static_cast<int32_t>(size), 0);
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

std::string TScriptRun::Fingerprint() {
  std::string fingerprint;
  for (int32_t handle : liveGrids_) {
    WeftPoint topLeftCell{};
    exports_.CellForPoint(handle, 0, 0, &topLeftCell);  // follows the top corner
    fingerprint += std::to_string(Hash(TextOf(handle))) + ' ' + std::to_string(topLeftCell.x) + ',' +
                   std::to_string(topLeftCell.y) + ' ';
  }
  return fingerprint;
}

void TScriptRun::Begin() {
  WeftConfiguration configuration{};
  configuration.tabWidth = 4;
  for (int32_t style = 0; style < 8; ++style) {
    configuration.styles[style] = {style % 4, 0x00101010u * static_cast<uint32_t>(style), 0x00FFFFFFu, 0, 0};
  }
  exports_.SetConfiguration(&configuration);
  if (options_.setFont) exports_.SetFont("Courier New", 10);
  for (int slot = 0; slot < 2; ++slot) {
    slots_[slot] = exports_.CreateGrid();
    liveGrids_.push_back(slots_[slot]);
    settledGrids_.push_back(slots_[slot]);
  }
}

void TScriptRun::End() {
  for (int32_t handle : liveGrids_) exports_.DeleteGrid(handle);
  for (const std::string& keyword : keywords_) exports_.DeleteKeyword(keyword.c_str());
}

void TScriptRun::Run() {
  Begin();
  while (!in_.done()) {
    Step(static_cast<uint8_t>(in_.Byte() % kCallCount));
    observer_.AfterCall(liveGrids_, settledGrids_);
  }
  End();
}

TScriptRun::TPointCall TScriptRun::Point(const char* call,
                                         void(WEFT_CALL* function)(int32_t, int32_t, int32_t, WeftPoint*)) {
  const int32_t handle = Handle();
  const int32_t a = in_.Number();
  const int32_t b = in_.Number();
  WeftPoint point{kUntouched, kUntouched};
  function(handle, a, b, &point);
  ExpectUntouchedIfDead(call, point.x == kUntouched && point.y == kUntouched);
  observer_.Transcribe((TLine(call) << handle << a << b).Point(point).text());
  return {handle, {a, b}, point};
}

// From a position on a row of a live grid, up to its line end, a step forward
// (unless from the end of the text) or back (unless from its start) is undone
// by a step the other way.
void TScriptRun::CheckStepUndone(const TPointCall& step, bool forward) {
  if (!live_ || !OnTextRow(step.handle, step.from, 1)) return;
  const WeftPoint end = EndOfText(step.handle);
  const WeftPoint stays = forward ? end : WeftPoint{1, 1};
  if (step.from.x == stays.x && step.from.y == stays.y) return;
  WeftPoint back{kUntouched, kUntouched};
  (forward ? exports_.PointBefore : exports_.PointAfter)(step.handle, step.answer.x, step.answer.y, &back);
  Expect(back.x == step.from.x && back.y == step.from.y,
         std::string(forward ? "PointBefore" : "PointAfter") + " did not undo a step");
}

// On a live grid with rows, an index of the text maps to a position on a row
// (its line break's LF lies one column past the line end) that maps back to
// it, and an index past the last row's line break to the end of the text.
void TScriptRun::CheckIndexRoundTrip(int32_t handle, int32_t index, const WeftPoint& point) {
  if (!live_ || exports_.NumberOfRows(handle) == 0) return;
  const WeftPoint end = EndOfText(handle);
  const int32_t endIndex = exports_.IndexForPoint(handle, end.x, end.y);
  if (index >= 1 && index <= endIndex) {
    Expect(OnTextRow(handle, point, 2) && exports_.IndexForPoint(handle, point.x, point.y) == index,
           "IndexForPoint does not map PointForIndex's answer back to the index");
  } else if (index > endIndex + 1) {
    Expect(point.x == end.x && point.y == end.y, "PointForIndex past the text answered no end of the text");
  }
}

// A record pre-filled so that a call that writes nothing can be told.
WeftTokenRecord UntouchedTokenRecord() {
  WeftTokenRecord token;
  std::memset(&token, kUntouched & 0xFF, sizeof token);  // every int field reads kUntouched
  return token;
}

void TScriptRun::Token(const char* call, int32_t answer, const WeftTokenRecord& token, bool passed) {
  ExpectNoneIfDead(call, answer, -1);
  TLine line(call);
  line << handle_ << answer;
  if (answer < 0 && passed) {
    const WeftTokenRecord untouched = UntouchedTokenRecord();
    Expect(std::memcmp(&token, &untouched, sizeof token) == 0, std::string(call) + " wrote a record with no token");
  }
  if (answer >= 0 && passed) {
    // A text may hold NUL bytes of its own, but ends with one at its length.
    Expect(token.text != nullptr && token.length == answer && token.text[answer] == '\0',
           std::string(call) + " record disagrees with its answer");
    Expect(token.startColumn >= 1 && token.startRow >= 1, std::string(call) + " handed out a token before the text");
    line << token.startColumn << token.startRow << token.endColumn << token.endRow << token.length << token.kind;
    if (token.text != nullptr) line.Bytes({token.text, static_cast<size_t>(std::max(token.length, 0))});
  }
  observer_.Transcribe(line.text());
}

void TScriptRun::Step(uint8_t call) {
  switch (call) {
    case kCallCreateGrid: {
      const int slot = in_.Byte() % kSlots;
      // Enough grids to grow the grid table a few times; more would only
      // slow the checks after every call.
      if (liveGrids_.size() >= kMaxLiveGrids) return;
      slots_[slot] = exports_.CreateGrid();
      if (slots_[slot] >= 0) {
        liveGrids_.push_back(slots_[slot]);
        settledGrids_.push_back(slots_[slot]);
      }
      observer_.Transcribe((TLine("CreateGrid") << slot << slots_[slot]).text());
      return;
    }
    case kCallDeleteGrid: {
      const int32_t handle = Handle();
      exports_.DeleteGrid(handle);
      Forget(liveGrids_, handle);
      Forget(settledGrids_, handle);
      ExpectNoneIfDead("DeleteGrid", 0, 0);
      observer_.Transcribe((TLine("DeleteGrid") << handle).text());
      return;
    }
    case kCallHandleQueries: {
      const int32_t handle = Handle();
      const int32_t row = in_.Number();
      const int32_t ok = exports_.IsHandleOk(handle);
      Expect(ok == (live_ ? 1 : 0), "IsHandleOk disagrees with the grids made and deleted");
      const int32_t rows = exports_.NumberOfRows(handle);
      ExpectNoneIfDead("NumberOfRows", rows, 0);
      const int32_t columns = exports_.ColumnsInRow(handle, row);
      ExpectNoneIfDead("ColumnsInRow", columns, 0);
      WeftPoint last{kUntouched, kUntouched};
      exports_.LastRowAndColumn(handle, &last);
      ExpectUntouchedIfDead("LastRowAndColumn", last.x == kUntouched);
      if (live_) Expect(last.y == std::max(rows, 1), "LastRowAndColumn disagrees with NumberOfRows");
      observer_.Transcribe((TLine("HandleQueries") << handle << row << ok << rows << columns).Point(last).text());
      return;
    }
    case kCallVersionNumber: {
      WeftPoint version{};
      Expect(exports_.VersionNumber(&version) == &version && exports_.VersionNumber(nullptr) == nullptr,
             "VersionNumber answered another record");
      observer_.Transcribe(TLine("VersionNumber").Point(version).text());
      return;
    }
    case kCallSetConfiguration: {
      WeftConfiguration configuration{};
      configuration.tabWidth = in_.Number();
      for (WeftStyle& style : configuration.styles) {
        style.fontIndex = in_.Number();
        style.foreColor = static_cast<WeftColor>(in_.Number());
        style.backColor = static_cast<WeftColor>(in_.Number());
        style.useDefaultForeColor = in_.Number();
        style.useDefaultBackColor = in_.Number();
      }
      const bool passed = in_.Flag();
      const int32_t answer = exports_.SetConfiguration(passed ? &configuration : nullptr);
      Expect(answer == (passed ? 1 : 0), "SetConfiguration answered wrongly");
      if (passed) settledGrids_.clear();
      observer_.Transcribe((TLine("SetConfiguration") << configuration.tabWidth << answer).text());
      return;
    }
    case kCallSetFont: {
      const std::string face = in_.Text();
      const int32_t points = in_.Number();
      const bool passed = in_.Flag();
      if (options_.setFont) {
        exports_.SetFont(passed ? face.c_str() : nullptr, points);
        settledGrids_.clear();
      }
      observer_.Transcribe((TLine("SetFont") << points).Bytes(face).text());
      return;
    }
    case kCallSettingsQueries: {
      WeftLogFont logFont{};
      exports_.GetLogFont(in_.Flag() ? &logFont : nullptr);
      WeftPoint cell{};
      exports_.CellSize(in_.Flag() ? &cell : nullptr);
      Expect(std::memchr(logFont.lfFaceName, '\0', sizeof logFont.lfFaceName) != nullptr,
             "GetLogFont left the face name unterminated");
      observer_.Transcribe((TLine("SettingsQueries")
                            << logFont.lfHeight << logFont.lfWeight << logFont.lfItalic << logFont.lfPitchAndFamily)
                               .Bytes(logFont.lfFaceName)
                               .Point(cell)
                               .text());
      return;
    }
    case kCallDefaultColors: {
      const int32_t handle = Handle();
      const auto color = static_cast<WeftColor>(in_.Number());
      if (in_.Flag()) {
        exports_.SetDefaultBackColor(handle, color);
      } else {
        exports_.SetDefaultForeColor(handle, color);
      }
      ExpectNoneIfDead("SetDefaultColor", 0, 0);
      Forget(settledGrids_, handle);
      observer_.Transcribe((TLine("DefaultColor") << handle << static_cast<int32_t>(color)).text());
      return;
    }
    case kCallSetText: {
      const int32_t handle = Handle();
      const std::string text = in_.Text();
      const uint8_t form = in_.Byte();
      const int32_t flag = in_.Number();
      // The stated length never runs past the bytes; 0 or less reads to the NUL.
      int32_t length = static_cast<int32_t>(text.size());
      if (form % 4 == 1) length = 0;
      if (form % 4 == 2) length = std::min(in_.Number(), length);
      const char* passed = form % 4 == 3 ? nullptr : text.c_str();
      exports_.SetText(handle, passed, length, flag);
      ExpectNoneIfDead("SetText", 0, 0);
      Settle(handle);
      observer_.Transcribe((TLine("SetText") << handle << length << flag).Bytes(passed ? text : "").text());
      return;
    }
    case kCallText: {
      const int32_t handle = Handle();
      const int32_t size = std::min(in_.Number(), 1 << 20);
      const int32_t expand = in_.Number();
      TGuardedBuffer buffer(size);
      const bool passed = !in_.Flag();
      const int32_t answer = exports_.Text(handle, passed ? buffer.data() : nullptr, size, expand);
      ExpectGuards("Text", buffer);
      ExpectNoneIfDead("Text", answer, -1);
      if (!live_) ExpectUntouchedIfDead("Text", buffer.Untouched());
      TLine line("Text");
      line << handle << size << expand << answer;
      if (passed && answer >= 0 && size > 0) {
        Expect(answer < size && buffer.data()[answer] == '\0', "Text's answer is not where its NUL is");
        line.Bytes(buffer.First(answer));
      }
      observer_.Transcribe(line.text());
      return;
    }
    case kCallStringAtRow: {
      const int32_t handle = Handle();
      const int32_t row = in_.Number();
      const int32_t size = std::min(in_.Number(), 1 << 18);
      TGuardedBuffer buffer(size);
      const int32_t answer = exports_.StringAtRow(handle, row, buffer.data(), size);
      ExpectGuards("StringAtRow", buffer);
      ExpectNoneIfDead("StringAtRow", answer, 0);
      Expect(answer >= 0 && answer <= std::max(size, 0), "StringAtRow answered more than its buffer holds");
      observer_.Transcribe((TLine("StringAtRow") << handle << row << size << answer)
                               .Bytes(buffer.First(answer))
                               .text());
      return;
    }
    case kCallInsertCell: {
      const int32_t handle = Handle();
      const int32_t character = in_.Number();
      const int32_t column = in_.Number();
      const int32_t row = in_.Number();
      exports_.InsertCell(handle, character, column, row, View());
      ExpectNoneIfDead("InsertCell", 0, 0);
      observer_.Transcribe((TLine("InsertCell") << handle << character << column << row).text());
      return;
    }
    case kCallInsertString: {
      const int32_t handle = Handle();
      const std::string text = in_.Text();
      const int32_t column = in_.Number();
      const int32_t row = in_.Number();
      WeftPoint end{kUntouched, kUntouched};
      const uint8_t form = in_.Byte();
      WeftPoint* record = form & 1 ? nullptr : &end;
      const char* passed = form & 2 ? nullptr : text.c_str();
      const WeftPoint* answer = exports_.InsertString(handle, passed, column, row, record, View());
      Expect(answer == record, "InsertString answered another record");
      ExpectNoneIfDead("InsertString", 0, 0);
      ExpectUntouchedIfDead("InsertString", end.x == kUntouched && end.y == kUntouched);
      observer_.Transcribe((TLine("InsertString") << handle << column << row).Bytes(text).Point(end).text());
      return;
    }
    case kCallDeleteSection: {
      const int32_t handle = Handle();
      int32_t corners[4];
      for (int32_t& corner : corners) corner = in_.Number();
      exports_.DeleteSection(handle, corners[0], corners[1], corners[2], corners[3], View());
      ExpectNoneIfDead("DeleteSection", 0, 0);
      observer_.Transcribe(
          (TLine("DeleteSection") << handle << corners[0] << corners[1] << corners[2] << corners[3]).text());
      return;
    }
    case kCallTextInRect: {
      const int32_t handle = Handle();
      int32_t corners[4];
      for (int32_t& corner : corners) corner = in_.Number();
      const int32_t maxLength = std::min(in_.Number(), 1 << 20);
      // Room for maxLength characters and the NUL.
      TGuardedBuffer buffer(std::max(maxLength, 0) + 1);
      const int32_t answer =
          exports_.TextInRect(handle, corners[0], corners[1], corners[2], corners[3], buffer.data(), maxLength);
      ExpectGuards("TextInRect", buffer);
      ExpectNoneIfDead("TextInRect", answer, 0);
      if (!live_) ExpectUntouchedIfDead("TextInRect", buffer.Untouched());
      TLine line("TextInRect");
      line << handle << corners[0] << corners[1] << corners[2] << corners[3] << maxLength << answer;
      if (live_) {
        Expect(answer >= 0 && answer <= std::max(maxLength, 0) && buffer.data()[answer] == '\0',
               "TextInRect's answer is not where its NUL is");
        line.Bytes(buffer.First(answer));
      }
      observer_.Transcribe(line.text());
      return;
    }
    case kCallKeyword: {
      const std::string word = in_.Text();
      const uint8_t form = in_.Byte();
      const char* passed = form & 2 ? nullptr : word.c_str();
      if (passed != nullptr) settledGrids_.clear();
      if (form & 1) {
        exports_.DeleteKeyword(passed);
      } else {
        exports_.AddKeyword(passed);
        if (passed != nullptr) keywords_.push_back(word);
      }
      observer_.Transcribe((TLine(form & 1 ? "DeleteKeyword" : "AddKeyword")).Bytes(word).text());
      return;
    }
    case kCallRebuildOrRewind: {
      const int32_t handle = Handle();
      const bool rebuild = in_.Flag();
      if (rebuild) {
        exports_.RebuildDataStructures(handle);
        Settle(handle);
      } else {
        exports_.RewindTokens(handle);
      }
      ExpectNoneIfDead("RebuildOrRewind", 0, 0);
      observer_.Transcribe((TLine(rebuild ? "Rebuild" : "Rewind") << handle).text());
      return;
    }
    case kCallNextToken:
    case kCallPreviousToken: {
      const int32_t handle = Handle();
      WeftTokenRecord token = UntouchedTokenRecord();
      const bool passed = !in_.Flag();
      const bool next = call == kCallNextToken;
      const int32_t answer = (next ? exports_.NextToken : exports_.PreviousToken)(handle, passed ? &token : nullptr);
      Token(next ? "NextToken" : "PreviousToken", answer, token, passed);
      return;
    }
    case kCallTokenAt: {
      const int32_t handle = Handle();
      const int32_t column = in_.Number();
      const int32_t row = in_.Number();
      WeftTokenRecord token = UntouchedTokenRecord();
      const bool passed = !in_.Flag();
      const int32_t answer = exports_.TokenAt(handle, column, row, passed ? &token : nullptr);
      Token("TokenAt", answer, token, passed);
      return;
    }
    case kCallDisplay: {
      const int32_t handle = Handle();
      WeftDisplay display{};
      int32_t* coordinates[] = {&display.fromColumn,
                                &display.fromRow,
                                &display.toColumn,
                                &display.toRow,
                                &display.selectionStartColumn,
                                &display.selectionStartRow,
                                &display.selectionEndColumn,
                                &display.selectionEndRow};
      for (int32_t* coordinate : coordinates) *coordinate = in_.Number();
      const uint8_t choice = in_.Byte();  // bit 0: no record; bit 1: the clipped context
      const bool clipped = (choice & 2) != 0 && options_.clippedDeviceContext != nullptr;
      display.deviceContext = clipped ? options_.clippedDeviceContext : options_.deviceContext;
      const WeftDisplay given = display;
      exports_.Display(handle, (choice & 1) != 0 ? nullptr : &display);
      ExpectNoneIfDead("Display", 0, 0);
      ExpectUntouchedIfDead("Display", std::memcmp(&given, &display, sizeof display) == 0);
      TLine line("Display");
      line << handle;
      for (int32_t* coordinate : coordinates) line << *coordinate;
      observer_.Transcribe(line.text());
      return;
    }
    case kCallColumnQueries: {
      const int32_t handle = Handle();
      const int32_t column = in_.Number();
      const int32_t row = in_.Number();
      const int32_t index = in_.Number();
      const int32_t visual = exports_.VisualColumnFor(handle, column, row);
      ExpectNoneIfDead("VisualColumnFor", visual, 0);
      const int32_t tabbed = exports_.NonTabbedToTabbedIndex(handle, index);
      ExpectNoneIfDead("NonTabbedToTabbedIndex", tabbed, 0);
      const int32_t character = exports_.AtPoint(handle, column, row);
      ExpectNoneIfDead("AtPoint", character, 0);
      if (live_) Expect(character >= 0 && character <= 255, "AtPoint answered no character");
      const int32_t linear = exports_.IndexForPoint(handle, column, row);
      ExpectNoneIfDead("IndexForPoint", linear, 0);
      observer_.Transcribe(
          (TLine("ColumnQueries") << handle << column << row << index << visual << tabbed << character << linear)
              .text());
      return;
    }
    case kCallIndexFromPixelWidth: {
      const std::string text = in_.Text();
      const int32_t length = std::min(in_.Number(), static_cast<int32_t>(text.size()));
      const int32_t cellWidth = in_.Number();
      const int32_t tabWidth = in_.Number();
      const int32_t pixelX = in_.Number();
      const char* passed = in_.Flag() ? nullptr : text.data();
      const int32_t answer = exports_.IndexFromPixelWidth(passed, length, cellWidth, tabWidth, pixelX);
      observer_.Transcribe(
          (TLine("IndexFromPixelWidth") << length << cellWidth << tabWidth << pixelX << answer).Bytes(text).text());
      return;
    }
    case kCallCells: {
      const uint8_t which = in_.Byte() % 3;
      if (which < 2) {
        Point(which == 0 ? "CellForPoint" : "PointForCell", which == 0 ? exports_.CellForPoint : exports_.PointForCell);
        return;
      }
      const int32_t handle = Handle();
      WeftPoint extent{kUntouched, kUntouched};
      exports_.CellExtent(handle, &extent);
      ExpectUntouchedIfDead("CellExtent", extent.x == kUntouched);
      observer_.Transcribe((TLine("CellExtent") << handle).Point(extent).text());
      return;
    }
    case kCallSetTopCorner: {
      const int32_t handle = Handle();
      const int32_t x = in_.Number();
      const int32_t y = in_.Number();
      exports_.SetTopCorner(handle, x, y);
      ExpectNoneIfDead("SetTopCorner", 0, 0);
      observer_.Transcribe((TLine("SetTopCorner") << handle << x << y).text());
      return;
    }
    case kCallPositions: {
      const uint8_t which = in_.Byte() % 4;
      if (which < 2) {
        const bool forward = which == 0;
        return CheckStepUndone(Point(forward ? "PointAfter" : "PointBefore",
                                     forward ? exports_.PointAfter : exports_.PointBefore),
                               forward);
      }
      const int32_t handle = Handle();
      const int32_t a = in_.Number();
      WeftPoint point{kUntouched, kUntouched};
      if (which == 2) {
        exports_.PointForIndex(handle, a, &point);
        CheckIndexRoundTrip(handle, a, point);
      } else {
        const int32_t column = in_.Number();
        const int32_t row = in_.Number();
        exports_.PointAtDistanceFrom(handle, a, column, row, &point);
      }
      ExpectUntouchedIfDead("Positions", point.x == kUntouched && point.y == kUntouched);
      observer_.Transcribe(
          (TLine(which == 2 ? "PointForIndex" : "PointAtDistanceFrom") << handle << a).Point(point).text());
      return;
    }
    case kCallFindPattern: {
      const std::string text = in_.Text();
      std::string pattern = in_.Text();
      pattern.resize(std::min(pattern.size(), kMaxSearchWork / std::max<size_t>(text.size(), 1)));
      const int32_t sizeHint = in_.Number();
      const int32_t start = in_.Number();
      const uint8_t flags = in_.Byte();
      int32_t matchLength = kUntouched;
      const int32_t answer =
          exports_.FindPattern(text.c_str(), sizeHint, pattern.c_str(), flags & 8 ? nullptr : &matchLength, start,
                               flags & 1, flags & 2, flags & 4);
      const auto textLength = static_cast<int64_t>(std::strlen(text.c_str()));
      if (answer != 0 && (flags & 8) == 0) {
        Expect(answer >= 1 && matchLength >= 0 && answer - 1 + int64_t{matchLength} <= textLength,
               "FindPattern's match lies outside the text");
      }
      observer_.Transcribe((TLine("FindPattern") << sizeHint << start << flags << answer << matchLength)
                               .Bytes(text)
                               .Bytes(pattern)
                               .text());
      return;
    }
    case kCallNameMatch: {
      const std::string a = in_.Text();
      const std::string b = in_.Text();
      // Counts and lengths within the bytes there are (with the NUL).
      const int32_t count = std::min(in_.Number(), static_cast<int32_t>(std::min(a.size(), b.size()) + 1));
      const int32_t lengthA = std::min(in_.Number(), static_cast<int32_t>(a.size()));
      const int32_t lengthB = std::min(in_.Number(), static_cast<int32_t>(b.size()));
      const uint8_t flags = in_.Byte();
      const int32_t begins =
          exports_.BeginsWithIgnoreCase(a.c_str(), flags & 2 ? nullptr : b.c_str(), count, flags & 1);
      const int32_t weight = exports_.CalcMatchWeight(flags & 4 ? nullptr : a.data(), lengthA, b.data(), lengthB);
      Expect(begins == 0 || begins == 1, "BeginsWithIgnoreCase answered neither 0 nor 1");
      Expect(weight >= 0 && weight <= 100, "CalcMatchWeight answered outside 0 to 100");
      observer_.Transcribe(
          (TLine("NameMatch") << count << lengthA << lengthB << flags << begins << weight).Bytes(a).Bytes(b).text());
      return;
    }
    default:
      return;
  }
}

template <typename Function>
void Bind(Function& slot, const char* name, TExportLookup lookup, void* context) {
  slot = reinterpret_cast<Function>(lookup(name, context));
}

}  // namespace

TExports BindExports(TExportLookup lookup, void* context) {
  TExports x{};
  Bind(x.CreateGrid, "CreateGrid", lookup, context);
  Bind(x.DeleteGrid, "DeleteGrid", lookup, context);
  Bind(x.IsHandleOk, "IsHandleOk", lookup, context);
  Bind(x.VersionNumber, "VersionNumber", lookup, context);
  Bind(x.SetConfiguration, "SetConfiguration", lookup, context);
  Bind(x.SetFont, "SetFont", lookup, context);
  Bind(x.GetLogFont, "GetLogFont", lookup, context);
  Bind(x.CellSize, "CellSize", lookup, context);
  Bind(x.SetDefaultBackColor, "SetDefaultBackColor", lookup, context);
  Bind(x.SetDefaultForeColor, "SetDefaultForeColor", lookup, context);
  Bind(x.SetText, "SetText", lookup, context);
  Bind(x.Text, "Text", lookup, context);
  Bind(x.StringAtRow, "StringAtRow", lookup, context);
  Bind(x.NumberOfRows, "NumberOfRows", lookup, context);
  Bind(x.ColumnsInRow, "ColumnsInRow", lookup, context);
  Bind(x.LastRowAndColumn, "LastRowAndColumn", lookup, context);
  Bind(x.VisualColumnFor, "VisualColumnFor", lookup, context);
  Bind(x.NonTabbedToTabbedIndex, "NonTabbedToTabbedIndex", lookup, context);
  Bind(x.IndexFromPixelWidth, "IndexFromPixelWidth", lookup, context);
  Bind(x.CellForPoint, "CellForPoint", lookup, context);
  Bind(x.PointForCell, "PointForCell", lookup, context);
  Bind(x.CellExtent, "CellExtent", lookup, context);
  Bind(x.SetTopCorner, "SetTopCorner", lookup, context);
  Bind(x.AtPoint, "AtPoint", lookup, context);
  Bind(x.PointForIndex, "PointForIndex", lookup, context);
  Bind(x.IndexForPoint, "IndexForPoint", lookup, context);
  Bind(x.PointAfter, "PointAfter", lookup, context);
  Bind(x.PointBefore, "PointBefore", lookup, context);
  Bind(x.PointAtDistanceFrom, "PointAtDistanceFrom", lookup, context);
  Bind(x.AddKeyword, "AddKeyword", lookup, context);
  Bind(x.DeleteKeyword, "DeleteKeyword", lookup, context);
  Bind(x.RebuildDataStructures, "RebuildDataStructures", lookup, context);
  Bind(x.RewindTokens, "RewindTokens", lookup, context);
  Bind(x.NextToken, "NextToken", lookup, context);
  Bind(x.PreviousToken, "PreviousToken", lookup, context);
  Bind(x.TokenAt, "TokenAt", lookup, context);
  Bind(x.Display, "Display", lookup, context);
  Bind(x.FindPattern, "FindPattern", lookup, context);
  Bind(x.BeginsWithIgnoreCase, "BeginsWithIgnoreCase", lookup, context);
  Bind(x.CalcMatchWeight, "CalcMatchWeight", lookup, context);
  Bind(x.InsertCell, "InsertCell", lookup, context);
  Bind(x.InsertString, "InsertString", lookup, context);
  Bind(x.DeleteSection, "DeleteSection", lookup, context);
  Bind(x.TextInRect, "TextInRect", lookup, context);
  return x;
}

void RunCallScript(const uint8_t* data, size_t size, const TExports& exports, const TScriptOptions& options,
                   TScriptObserver& observer) {
  TScriptRun(data, size, exports, options, observer).Run();
}

TScriptWriter& TScriptWriter::Call(int call) { return Byte(static_cast<uint8_t>(call)); }

TScriptWriter& TScriptWriter::Byte(uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

TScriptWriter& TScriptWriter::Number(int32_t value) {
  if (value >= -kSmallBias && value < kFirstExtreme - kSmallBias) return Byte(static_cast<uint8_t>(value + kSmallBias));
  Byte(kFirstRaw);
  for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
  return *this;
}

TScriptWriter& TScriptWriter::Text(const std::string& text) {
  const size_t length = std::min<size_t>(text.size(), 0xFFFF);
  if (length < kFirstLongText) {
    Byte(static_cast<uint8_t>(length));
  } else {
    Byte(kFirstLongText).Byte(static_cast<uint8_t>(length)).Byte(static_cast<uint8_t>(length >> 8));
  }
  bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<ptrdiff_t>(length));
  return *this;
}

TScriptWriter& TScriptWriter::Slot(int slot) { return Byte(static_cast<uint8_t>(slot)); }

}  // namespace weft::fuzz
