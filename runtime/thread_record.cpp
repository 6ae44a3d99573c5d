#include "runtime/thread_record.h"

namespace {

// Process-wide thread-slot state: the slot's index and the main thread's record.
DWORD slotIndex = TLS_OUT_OF_INDEXES;
ThreadRecord* mainRecord = nullptr;

constexpr char kMainFontFace[] = "MS Sans Serif";
constexpr LONG kMainFontSize = 8;

}  // namespace

ThreadRecord* CurrentThreadRecord() {
  if (slotIndex == TLS_OUT_OF_INDEXES) {
    return nullptr;
  }
  auto* record = static_cast<ThreadRecord*>(TlsGetValue(slotIndex));
  if (record != nullptr) {
    return record;
  }
  record = static_cast<ThreadRecord*>(GlobalAlloc(GMEM_ZEROINIT, sizeof(ThreadRecord)));
  if (record == nullptr) {
    return nullptr;
  }
  TlsSetValue(slotIndex, record);
  if (mainRecord != nullptr) {
    for (DWORD i = 0; i < kFontFaceUnits; ++i) {
      record->defaultFontFace[i] = mainRecord->defaultFontFace[i];
    }
    record->defaultFontSize = mainRecord->defaultFontSize;
  }
  return record;
}

bool OpenThreadSlot() {
  slotIndex = TlsAlloc();
  mainRecord = nullptr;
  if (slotIndex == TLS_OUT_OF_INDEXES) {
    return false;
  }
  ThreadRecord* record = CurrentThreadRecord();
  if (record == nullptr) {
    return false;
  }
  mainRecord = record;
  record->defaultFontSize = kMainFontSize;
  DWORD i = 0;
  for (; kMainFontFace[i] != '\0'; ++i) {
    record->defaultFontFace[i] = static_cast<WCHAR>(static_cast<unsigned char>(kMainFontFace[i]));
  }
  record->defaultFontFace[i] = 0;
  return true;
}

void CloseThreadSlot() {
  void* record = TlsGetValue(slotIndex);
  if (record != nullptr) {
    // The thread's own run-time variables would be freed here; this program has none.
    GlobalFree(record);
    TlsSetValue(slotIndex, nullptr);
  }
  if (record == mainRecord) {
    mainRecord = nullptr;
  }
  TlsFree(slotIndex);
  slotIndex = TLS_OUT_OF_INDEXES;
}
