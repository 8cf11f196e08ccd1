// The edge between COM and the portable code: nothing thrown crosses it.
#pragma once

#include <windows.h>

#include <new>

#include "common/contained.h"

namespace tb::win32 {

// Runs one call into the portable code and answers its HRESULT; a thrown
// error becomes E_OUTOFMEMORY or E_FAIL.
template <typename Call>
HRESULT Guarded(Call call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// The same for a call the host makes, named `where`: an error the product
// does not expect still becomes E_FAIL, and is told to the diagnostics.
template <typename Call>
HRESULT Guarded(platform::Diagnostics& diagnostics, const char* where, Call call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    ReportIfUnexpected(diagnostics, where);
    return E_FAIL;
  }
}

}  // namespace tb::win32
