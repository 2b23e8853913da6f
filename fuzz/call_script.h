// Call scripts: any bytes, read as a sequence of calls of the library's
// exports over a few grids, live and dead. The fuzz targets, the regression
// replay and the 32-bit replay host under Wine all read scripts with this one
// decoder, so a script means the same calls on every side.
//
// The decoder calls the exports through a table of function pointers, so it
// runs against the library linked in or against weftcore.dll loaded at run
// time. Every buffer it passes has guard bytes on both sides, every record it
// passes is pre-filled, and after each call it checks what the interface
// promises whatever the arguments: no write past a buffer's stated size,
// untouched records and every grid's text and top corner unchanged for a
// dead handle, answers within their ranges, and steps and indices that map
// back. It writes one transcript line per call (its arguments, its answer,
// and every record and buffer it wrote, pointers aside), from which two runs
// of the same script compare.
//
// Script format: a byte chooses the call (modulo the number of calls);
// numbers, texts and handles follow, read by TScriptReader. A script that
// runs out of bytes reads zeros and ends after its last whole call.
#ifndef WEFT_FUZZ_CALL_SCRIPT_H_
#define WEFT_FUZZ_CALL_SCRIPT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "weftcore.h"

namespace weft::fuzz {

// The 44 exports, in the order of weftcore.def.
struct TExports {
  int32_t(WEFT_CALL* CreateGrid)(void);
  void(WEFT_CALL* DeleteGrid)(int32_t);
  int32_t(WEFT_CALL* IsHandleOk)(int32_t);
  WeftPoint*(WEFT_CALL* VersionNumber)(WeftPoint*);
  int32_t(WEFT_CALL* SetConfiguration)(const WeftConfiguration*);
  void(WEFT_CALL* SetFont)(const char*, int32_t);
  void(WEFT_CALL* GetLogFont)(WeftLogFont*);
  void(WEFT_CALL* CellSize)(WeftPoint*);
  void(WEFT_CALL* SetDefaultBackColor)(int32_t, WeftColor);
  void(WEFT_CALL* SetDefaultForeColor)(int32_t, WeftColor);
  void(WEFT_CALL* SetText)(int32_t, const char*, int32_t, int32_t);
  int32_t(WEFT_CALL* Text)(int32_t, char*, int32_t, int32_t);
  int32_t(WEFT_CALL* StringAtRow)(int32_t, int32_t, char*, int32_t);
  int32_t(WEFT_CALL* NumberOfRows)(int32_t);
  int32_t(WEFT_CALL* ColumnsInRow)(int32_t, int32_t);
  void(WEFT_CALL* LastRowAndColumn)(int32_t, WeftPoint*);
  int32_t(WEFT_CALL* VisualColumnFor)(int32_t, int32_t, int32_t);
  int32_t(WEFT_CALL* NonTabbedToTabbedIndex)(int32_t, int32_t);
  int32_t(WEFT_CALL* IndexFromPixelWidth)(const char*, int32_t, int32_t, int32_t, int32_t);
  void(WEFT_CALL* CellForPoint)(int32_t, int32_t, int32_t, WeftPoint*);
  void(WEFT_CALL* PointForCell)(int32_t, int32_t, int32_t, WeftPoint*);
  void(WEFT_CALL* CellExtent)(int32_t, WeftPoint*);
  void(WEFT_CALL* SetTopCorner)(int32_t, int32_t, int32_t);
  int32_t(WEFT_CALL* AtPoint)(int32_t, int32_t, int32_t);
  void(WEFT_CALL* PointForIndex)(int32_t, int32_t, WeftPoint*);
  int32_t(WEFT_CALL* IndexForPoint)(int32_t, int32_t, int32_t);
  void(WEFT_CALL* PointAfter)(int32_t, int32_t, int32_t, WeftPoint*);
  void(WEFT_CALL* PointBefore)(int32_t, int32_t, int32_t, WeftPoint*);
  void(WEFT_CALL* PointAtDistanceFrom)(int32_t, int32_t, int32_t, int32_t, WeftPoint*);
  void(WEFT_CALL* AddKeyword)(const char*);
  void(WEFT_CALL* DeleteKeyword)(const char*);
  void(WEFT_CALL* RebuildDataStructures)(int32_t);
  void(WEFT_CALL* RewindTokens)(int32_t);
  int32_t(WEFT_CALL* NextToken)(int32_t, WeftTokenRecord*);
  int32_t(WEFT_CALL* PreviousToken)(int32_t, WeftTokenRecord*);
  int32_t(WEFT_CALL* TokenAt)(int32_t, int32_t, int32_t, WeftTokenRecord*);
  void(WEFT_CALL* Display)(int32_t, WeftDisplay*);
  int32_t(WEFT_CALL* FindPattern)(const char*, int32_t, const char*, int32_t*, int32_t, int32_t, int32_t, int32_t);
  int32_t(WEFT_CALL* BeginsWithIgnoreCase)(const char*, const char*, int32_t, int32_t);
  int32_t(WEFT_CALL* CalcMatchWeight)(const char*, int32_t, const char*, int32_t);
  void(WEFT_CALL* InsertCell)(int32_t, int32_t, int32_t, int32_t, const WeftView*);
  WeftPoint*(WEFT_CALL* InsertString)(int32_t, const char*, int32_t, int32_t, WeftPoint*, const WeftView*);
  void(WEFT_CALL* DeleteSection)(int32_t, int32_t, int32_t, int32_t, int32_t, const WeftView*);
  int32_t(WEFT_CALL* TextInRect)(int32_t, int32_t, int32_t, int32_t, int32_t, char*, int32_t);
};

// Fills the table through `lookup`, which answers an export's address by
// name (GetProcAddress, for a DLL); null for a name it lacks.
using TExportLookup = void (*(*)(const char* name, void* context))();
TExports BindExports(TExportLookup lookup, void* context);

// Sees every call of a script run.
class TScriptObserver {
 public:
  virtual ~TScriptObserver() = default;
  // One line per call, without its line break.
  virtual void Transcribe(const std::string& line) = 0;
  // After every call, with the handles of the grids that are live now and of
  // those among them whose lists were all made under the present settings,
  // keywords and default colours (a change of any reaches a grid's lists
  // only through SetText or RebuildDataStructures).
  virtual void AfterCall(const std::vector<int32_t>& liveGrids, const std::vector<int32_t>& settledGrids) = 0;
  // A promise of the interface broke; `what` says which.
  virtual void Fail(const std::string& what) = 0;
};

struct TScriptOptions {
  void* deviceContext = nullptr;  // what Display paints into
  // A second one with a clip box, as a host's paint context has, which
  // Display may paint into instead; null: deviceContext alone.
  void* clippedDeviceContext = nullptr;
  void* window = nullptr;         // the window of the view records edits get
  // Font metrics differ between the stand-in of Win32 and Windows itself; a
  // run that compares with the other side leaves SetFont out.
  bool setFont = true;
};

// Runs the script. Starts from the configuration a host sets first and ends
// by deleting every grid and keyword the script made, so one process can run
// any number of scripts, each as if alone.
void RunCallScript(const uint8_t* data, size_t size, const TExports& exports, const TScriptOptions& options,
                   TScriptObserver& observer);

// Writes scripts, for seeds and tests: each call as the decoder reads it.
class TScriptWriter {
 public:
  TScriptWriter& Call(int call);
  // A number as TScriptReader::Number reads it (always in its exact form).
  TScriptWriter& Number(int32_t value);
  TScriptWriter& Byte(uint8_t value);
  TScriptWriter& Text(const std::string& text);
  // A handle: one of the script's grid slots 0 to 3.
  TScriptWriter& Slot(int slot);
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// The calls, as the first byte of each names them.
enum TScriptCall : uint8_t {
  kCallCreateGrid,
  kCallDeleteGrid,
  kCallHandleQueries,  // IsHandleOk, NumberOfRows, ColumnsInRow, LastRowAndColumn
  kCallVersionNumber,
  kCallSetConfiguration,
  kCallSetFont,
  kCallSettingsQueries,  // GetLogFont, CellSize
  kCallDefaultColors,
  kCallSetText,
  kCallText,
  kCallStringAtRow,
  kCallInsertCell,
  kCallInsertString,
  kCallDeleteSection,
  kCallTextInRect,
  kCallKeyword,
  kCallRebuildOrRewind,
  kCallNextToken,
  kCallPreviousToken,
  kCallTokenAt,
  kCallDisplay,
  kCallColumnQueries,  // VisualColumnFor, NonTabbedToTabbedIndex, AtPoint, IndexForPoint
  kCallIndexFromPixelWidth,
  kCallCells,  // CellForPoint, PointForCell, CellExtent
  kCallSetTopCorner,
  kCallPositions,  // PointForIndex, PointAfter, PointBefore, PointAtDistanceFrom
  kCallFindPattern,
  kCallNameMatch,  // BeginsWithIgnoreCase, CalcMatchWeight
  kCallCount
};

}  // namespace weft::fuzz

#endif  // WEFT_FUZZ_CALL_SCRIPT_H_
