// The test build's operator new: the call MIRTANE_FAULT names ("new K",
// "new send", ...) throws std::bad_alloc, as when memory runs out.
#include <cstdlib>
#include <new>

#include "tests/faults/fault_counter.h"

namespace {

void* Allocate(std::size_t size) {
  if (!fault::g_module_inside && fault::NewCounter().Call()) {
    if (fault::g_on_new_fault) fault::g_on_new_fault();
    return nullptr;
  }
  return std::malloc(size ? size : 1);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
