#include "common/contained.h"

#include <exception>
#include <new>

#include "common/refused.h"

namespace tb {

void ReportIfUnexpected(platform::Diagnostics& diagnostics, const char* where) noexcept {
  try {
    try {
      throw;
    } catch (const Refused&) {
      return;
    } catch (const std::bad_alloc&) {
      return;
    } catch (const std::exception& error) {
      diagnostics.ReportUnexpected(where, error.what());
    } catch (...) {
      diagnostics.ReportUnexpected(where, "an error of unknown type");
    }
  } catch (...) {
    // The report itself failed (no memory for its line): the error stays
    // contained all the same.
  }
}

}  // namespace tb
