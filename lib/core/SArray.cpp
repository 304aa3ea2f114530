#include "SArray.h"
#include <gdiplus.h>
#include "SRound.h"

namespace SArrayBlock
{
int CapacityFor(int count, size_t elementSize)
{
    if (count < 0)
        count = 0;
    if (count > INT_MAX - 64)
        return -1;
    int capacity = count - count % 64 + 64;
    if ((unsigned long long)capacity * elementSize > (unsigned long long)PTRDIFF_MAX)
        return -1;
    return capacity;
}

void* Allocate(int capacity, size_t elementSize)
{
    return malloc((size_t)capacity * elementSize);
}

void Free(void* block)
{
    free(block);
}

int RandomIndex(int count)
{
    int index = SRound::Truncate(rand() / (RAND_MAX + 1.0) * count);
    return index < count ? index : count - 1;
}
}

template class SArray<SString*>;
template class SArray<int>;
template class SArray<unsigned int>;
template class SArray<unsigned long>;
template class SArray<unsigned short>;
template class SArray<bool>;
template class SArray<unsigned long long>;
template class SArray<double>;
template class SArray<RECT>;
template class SArray<HWND>;
template class SArray<HBITMAP>;
template class SArray<HFONT>;
template class SArray<_TREEITEM*>;
template class SArray<MSG*>;
template class SArray<RECT*>;
template class SArray<BYTE*>;
template class SArray<void*>;
template class SArray<int*>;
template class SArray<Gdiplus::Color*>;
