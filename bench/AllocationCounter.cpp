#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

// Kept in its own file so that no caller sees new and free side by side.
namespace {

std::size_t allocations = 0;

} // namespace

std::size_t allocationCount()
{
    return allocations;
}

void* operator new(std::size_t bytes)
{
    ++allocations;
    if (void* p = std::malloc(bytes ? bytes : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
