// A critical section and the guard that holds it for a scope: the lock of
// the test programs' threads (Windows XP has no slim reader/writer lock).
#pragma once

#include <windows.h>

namespace tb::test {

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  CriticalSection(CriticalSection&&) = delete;
  CriticalSection& operator=(CriticalSection&&) = delete;

 private:
  friend class Hold;
  CRITICAL_SECTION section_;
};

class Hold {
 public:
  explicit Hold(CriticalSection& lock) : lock_(lock) { EnterCriticalSection(&lock_.section_); }
  ~Hold() { LeaveCriticalSection(&lock_.section_); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;
  Hold(Hold&&) = delete;
  Hold& operator=(Hold&&) = delete;

 private:
  CriticalSection& lock_;
};

}  // namespace tb::test
