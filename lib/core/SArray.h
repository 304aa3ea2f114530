#pragma once

#include <windows.h>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include "SString.h"

struct _TREEITEM;
struct _IMAGELIST;
namespace Gdiplus { class Color; }

// Block management shared by every element type, so that each instantiation
// carries only its typed algorithms.
namespace SArrayBlock
{
// Capacity for count elements: the next multiple of 64 strictly above count;
// -1 when count is too large to allocate with elements of elementSize bytes.
int CapacityFor(int count, size_t elementSize);
// A new block of capacity elements; null when the allocation fails.
void* Allocate(int capacity, size_t elementSize);
// Frees a block from Allocate (null is allowed).
void Free(void* block);
// A random index in 0 .. count - 1 from the runtime's rand().
int RandomIndex(int count);
}

// How DeleteAll releases a pointer element: 0 never (values and handles),
// 1 delete (objects and records), 2 free() (blocks of plain memory, which
// their owners allocate with malloc).
template <class T>
struct SArrayRelease
{
    static const int kind = !std::is_pointer<T>::value ? 0
        : std::is_void<std::remove_cv_t<std::remove_pointer_t<T>>>::value ? 2 : 1;
};
#define SARRAY_NEVER_RELEASED(T) \
    template <> struct SArrayRelease<T> { static const int kind = 0; }
SARRAY_NEVER_RELEASED(HWND);
SARRAY_NEVER_RELEASED(HBITMAP);
SARRAY_NEVER_RELEASED(HFONT);
SARRAY_NEVER_RELEASED(HICON);
SARRAY_NEVER_RELEASED(HMENU);
SARRAY_NEVER_RELEASED(HBRUSH);
SARRAY_NEVER_RELEASED(HPEN);
SARRAY_NEVER_RELEASED(HDC);
SARRAY_NEVER_RELEASED(HRGN);
SARRAY_NEVER_RELEASED(HINSTANCE);
SARRAY_NEVER_RELEASED(HKEY);
SARRAY_NEVER_RELEASED(_TREEITEM*);
SARRAY_NEVER_RELEASED(_IMAGELIST*);
#undef SARRAY_NEVER_RELEASED
template <> struct SArrayRelease<BYTE*> { static const int kind = 2; };

// The element order used when the element type brings no comparison:
// -1, 0 or 1. Pointers and handles compare by address, numbers by value
// (signed for signed types), rectangles by left, top, right, bottom.
template <class T>
int SArrayNaturalOrder(const T& a, const T& b)
{
    if constexpr (std::is_pointer<T>::value)
    {
        uintptr_t x = (uintptr_t)a, y = (uintptr_t)b;
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    else if constexpr (std::is_arithmetic<T>::value || std::is_enum<T>::value)
        return a < b ? -1 : (b < a ? 1 : 0);
    else if constexpr (std::is_same<T, RECT>::value)
    {
        const LONG x[4] = { a.left, a.top, a.right, a.bottom };
        const LONG y[4] = { b.left, b.top, b.right, b.bottom };
        for (int i = 0; i < 4; i++)
            if (x[i] != y[i])
                return x[i] < y[i] ? -1 : 1;
        return 0;
    }
    else
    {
        int c = memcmp(&a, &b, sizeof(T));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
}

// The growable array: a contiguous block of elements grown in steps of 64,
// with a flags word passed to every comparison (bit 0: descending order).
// Elements move bitwise. Pointer elements are owned only through the explicit
// delete operations, which the array's owner calls before destruction.
template <class T>
class SArray
{
    static_assert(std::is_trivially_copyable<T>::value, "SArray elements move bitwise");

public:
    // An empty array without a block.
    SArray() = default;
    // A copy made with CopyFrom (pointer elements are shared).
    SArray(const SArray& other) { SArray::CopyFrom(other); }
    // Frees the block; never the objects that pointer elements point to.
    virtual ~SArray() { SArray::FreeStorage(); }
    // CopyFrom through the virtual slot.
    SArray& operator=(const SArray& other)
    {
        if (this != &other)
            CopyFrom(other);
        return *this;
    }

    // Becomes a copy of other: count, flags and every element by value.
    virtual SArray& CopyFrom(const SArray& other)
    {
        if (this == &other)
            return *this;
        if (!SetSize(other.m_count, false))
            return *this;
        m_flags = other.m_flags;
        for (int i = 0; i < m_count; i++)
            m_data[i] = other.m_data[i];
        return *this;
    }
    // Frees the block: back to the initial state, flags 0 too.
    virtual void FreeStorage()
    {
        if (!m_data)
            return;
        SArrayBlock::Free(m_data);
        m_data = nullptr;
        m_capacity = m_count = m_flags = 0;
    }
    // Stores one inserted element; returns dst.
    virtual T* AssignElement(T* dst, const T* src, int index, INT_PTR arg)
    {
        (void)index;
        (void)arg;
        *dst = *src;
        return dst;
    }
    // Called just before the delete operations destroy an element's object.
    virtual void OnElementDelete(T* element, int index, INT_PTR arg)
    {
        (void)element;
        (void)index;
        (void)arg;
    }
    // The element type's own order (-1, 0, 1), or -2 when it has none.
    virtual int Compare(const T* a, const T* b, int compareFlags, INT_PTR arg) const
    {
        (void)a;
        (void)b;
        (void)compareFlags;
        (void)arg;
        return -2;
    }
    // Sets an element from its text form; the default does nothing.
    virtual void ParseElement(T* dst, const char* text)
    {
        (void)dst;
        (void)text;
    }
    // The text form of an element: decimal text for the 16-bit, 64-bit,
    // boolean and real elements and a rectangle's four sides; empty for the
    // other types, which have no text form.
    virtual SString FormatElement(const T* element) const
    {
        char text[64] = "";
        if constexpr (std::is_same<T, bool>::value)
            snprintf(text, sizeof(text), "%d", *element ? 1 : 0);
        else if constexpr (std::is_floating_point<T>::value)
            snprintf(text, sizeof(text), "%.17g", (double)*element);
        else if constexpr (std::is_same<T, unsigned short>::value || std::is_same<T, unsigned long long>::value)
            snprintf(text, sizeof(text), "%llu", (unsigned long long)*element);
        else if constexpr (std::is_same<T, RECT>::value)
            snprintf(text, sizeof(text), "%ld,%ld,%ld,%ld", (long)element->left,
                     (long)element->top, (long)element->right, (long)element->bottom);
        return SString(text);
    }

    // Number of elements in use.
    int GetCount() const { return m_count; }
    // Elements the current block can hold (0 before the first allocation).
    int GetCapacity() const { return m_capacity; }
    // The flags word.
    int GetFlags() const { return m_flags; }
    // ORs bits into the flags word.
    SArray& AddFlags(int bits)
    {
        m_flags |= bits;
        return *this;
    }

    // Element index; a zero value when index is outside 0 .. count - 1.
    T GetAt(int index) const { return index >= 0 && index < m_count ? m_data[index] : T(); }
    // Pointer to element index; null outside 0 .. count - 1.
    T* GetPtr(int index) const { return index >= 0 && index < m_count ? m_data + index : nullptr; }
    // The first element (a zero value when empty).
    T GetFirst() const { return GetAt(0); }
    // The last element (a zero value when empty).
    T GetLast() const { return GetAt(m_count - 1); }
    // Stores value at index; index -1 stores it into every element.
    void SetAt(int index, T value)
    {
        if (index == -1)
        {
            for (int i = 0; i < m_count; i++)
                m_data[i] = value;
        }
        else if (index >= 0 && index < m_count)
            m_data[index] = value;
    }

    // Sets the count to n (negative = 0); the block is reallocated whenever
    // the capacity for n differs. With keep, the first elements are kept.
    // False (nothing changed) when the block cannot be allocated.
    bool SetSize(int n, bool keep)
    {
        if (n < 0)
            n = 0;
        int newCapacity = SArrayBlock::CapacityFor(n, sizeof(T));
        if (newCapacity < 0)
            return false;
        if (newCapacity != m_capacity)
        {
            T* block = (T*)SArrayBlock::Allocate(newCapacity, sizeof(T));
            if (!block)
            {
                // A shrink that cannot get its smaller block keeps the old one.
                if (newCapacity < m_capacity)
                {
                    m_count = n;
                    return true;
                }
                return false;
            }
            if (keep && m_data)
                memcpy((void*)block, (const void*)m_data, sizeof(T) * (size_t)(n < m_count ? n : m_count));
            SArrayBlock::Free(m_data);
            m_data = block;
            m_capacity = newCapacity;
        }
        m_count = n;
        return true;
    }
    // SetSize keeping the elements.
    bool SetSizeKeep(int n) { return SetSize(n, true); }

    // Inserts count copies of value at index (index < 0 or past the end
    // appends); returns the first index, -1 when count < 1.
    int Add(T value, int index = -1, int addCount = 1)
    {
        if (index < 0 && addCount == 1)
        {
            int at = m_count;
            if (!SetSizeKeep(m_count + 1))
                return -1;
            AssignElement(m_data + at, &value, at, 0);
            return at;
        }
        if (index < 0 || index > m_count)
            index = m_count;
        if (addCount < 1 || addCount > INT_MAX - m_count)
            return -1;
        int oldCount = m_count;
        if (!SetSizeKeep(oldCount + addCount))
            return -1;
        if (index < oldCount)
            memmove((void*)(m_data + index + addCount), (const void*)(m_data + index),
                    sizeof(T) * (size_t)(oldCount - index));
        for (int i = 0; i < addCount; i++)
            AssignElement(m_data + index + i, &value, index + i, 0);
        return index;
    }
    // Inserts every element of other in order from index on (index < 0 or
    // past the end appends); returns other's count (0 for null).
    int InsertArray(const SArray* other, int index = -1)
    {
        if (!other)
            return 0;
        if (other == this)
        {
            SArray copy;
            copy.CopyFromBlock(*this);
            return InsertArray(&copy, index);
        }
        bool append = index < 0 || index > m_count;
        for (int i = 0; i < other->m_count; i++)
            Add(other->m_data[i], append ? -1 : index + i);
        return other->m_count;
    }

    // Removes count elements from index (count < 0 = to the end) without
    // deleting their objects.
    void RemoveAt(int index, int removeCount = 1)
    {
        if (index < 0 || index >= m_count)
            return;
        if (removeCount < 0 || removeCount > m_count - index)
            removeCount = m_count - index;
        if (removeCount == 0)
            return;
        int tail = m_count - index - removeCount;
        if (tail > 0)
            memmove((void*)(m_data + index), (const void*)(m_data + index + removeCount),
                    sizeof(T) * (size_t)tail);
        SetSize(m_count - removeCount, true);
    }
    // Removes the last element, if any.
    void RemoveLast()
    {
        if (m_count > 0)
            RemoveAt(m_count - 1, 1);
    }
    // Empties the array, leaving a fresh block of 64 elements.
    void RemoveAll() { SetSize(0, false); }
    // Removes every element of [start, end) equal to value; returns how many.
    int RemoveValue(T value, int start = 0, int end = -1, INT_PTR arg = 0)
    {
        if (!ClampRange(start, end))
            return 0;
        int removed = 0;
        for (int i = end - 1; i >= start; i--)
        {
            if (CompareElements(m_data + i, &value, m_flags, arg) == 0)
            {
                RemoveAt(i, 1);
                removed++;
            }
        }
        return removed;
    }

    // Destroys the object of every non-null element and sets it to null;
    // the count does not change.
    void DeleteAll() { DeleteAt(0, -1); }
    // The same for count elements from index (count < 0 = to the end).
    void DeleteAt(int index, int deleteCount = 1)
    {
        if (index < 0 || index >= m_count)
            return;
        if (deleteCount < 0 || deleteCount > m_count - index)
            deleteCount = m_count - index;
        if constexpr (SArrayRelease<T>::kind != 0)
        {
            for (int i = index; i < index + deleteCount; i++)
            {
                if (!m_data[i])
                    continue;
                OnElementDelete(m_data + i, i, 0);
                T element = m_data[i];
                m_data[i] = nullptr;
                Release(element);
            }
        }
    }
    // DeleteAt, then RemoveAt of the same range.
    void DeleteAndRemoveAt(int index, int deleteCount = 1)
    {
        DeleteAt(index, deleteCount);
        RemoveAt(index, deleteCount);
    }
    // Destroys the last element's object; its slot stays, null.
    void DeleteLast()
    {
        if (m_count > 0)
            DeleteAt(m_count - 1, 1);
    }
    // DeleteAll, then RemoveAll.
    void DestroyAll()
    {
        DeleteAll();
        RemoveAll();
    }

    // Order of two elements: the type's Compare, else the natural order
    // (inverted when flags bit 0 is set).
    int CompareElements(const T* a, const T* b, int compareFlags, INT_PTR arg) const
    {
        int c = Compare(a, b, compareFlags, arg);
        return c != -2 ? c : DefaultCompare(a, b, compareFlags);
    }
    // The natural order of two elements, inverted when flags bit 0 is set.
    static int DefaultCompare(const T* a, const T* b, int compareFlags)
    {
        int c = SArrayNaturalOrder(*a, *b);
        return (compareFlags & 1) ? -c : c;
    }

    // First index in [start, end) equal to value; -1 when none.
    int Find(T value, int start = 0, int end = -1, INT_PTR arg = 0) const
    {
        if (!ClampRange(start, end))
            return -1;
        for (int i = start; i < end; i++)
            if (CompareElements(m_data + i, &value, m_flags, arg) == 0)
                return i;
        return -1;
    }
    // value when Find finds it, else a zero value.
    T Lookup(T value, int start = 0, int end = -1, INT_PTR arg = 0) const
    {
        return Find(value, start, end, arg) >= 0 ? value : T();
    }
    // Index of an element equal to value in a sorted range; -1 when none.
    int FindSorted(T value, int start = 0, int end = -1, INT_PTR arg = 0) const
    {
        bool found = false;
        int at = SearchSorted(value, start, end, arg, found);
        return found ? at : -1;
    }
    // Where value belongs in a sorted range (before an equal element found
    // by the search, after an element just past the range that is not
    // greater); -1 for an empty array or an invalid range.
    int InsertPosition(T value, int start = 0, int end = -1, INT_PTR arg = 0) const
    {
        bool found = false;
        return SearchSorted(value, start, end, arg, found);
    }
    // Add at InsertPosition (appends when that is -1); returns the index used.
    int InsertSorted(T value, int start = 0, int end = -1, INT_PTR arg = 0)
    {
        return Add(value, InsertPosition(value, start, end, arg));
    }

    // Sorts [start, end) (end -1 = count) by CompareElements with the flags.
    void Sort(int start = 0, int end = -1) { QuickSortRange(start, end, 0); }
    // Quicksort of [start, end) with arg passed to every comparison; not stable.
    void QuickSortRange(int start, int end, INT_PTR arg)
    {
        if (m_count < 2 || start < 0 || start > m_count || end < -1 || end > m_count)
            return;
        if (end == -1)
            end = m_count;
        // Recursing into the smaller side only bounds the stack depth by
        // log2(count), also for many equal keys.
        while (end - start >= 2)
        {
            int p = Partition(start, end, arg);
            if (p - start < end - p - 1)
            {
                QuickSortRange(start, p, arg);
                start = p + 1;
            }
            else
            {
                QuickSortRange(p + 1, end, arg);
                end = p;
            }
        }
    }
    // Exchanges two elements; false when either index is outside the array
    // or they are equal.
    bool Swap(int i, int j)
    {
        if (i < 0 || j < 0 || i >= m_count || j >= m_count || i == j)
            return false;
        Exchange(i, j);
        return true;
    }
    // Random permutation of [start, end) (end < 0 or past the count = count).
    void Shuffle(int start = 0, int end = -1)
    {
        if (start < 0 || start >= m_count)
            return;
        if (end < 0 || end > m_count)
            end = m_count;
        if (end - start < 2)
            return;
        SArray rest;
        if (!rest.SetSize(end - start, false))
            return;
        memcpy((void*)rest.m_data, (const void*)(m_data + start), sizeof(T) * (size_t)(end - start));
        for (int j = start; j < end; j++)
        {
            int r = SArrayBlock::RandomIndex(rest.m_count);
            SetAt(j, rest.m_data[r]);
            rest.RemoveAt(r, 1);
        }
    }
    // Appends every element of a not cancelled, one for one, by an equal
    // element of b; returns how many were appended.
    int AppendDifference(const SArray& a, const SArray& b, INT_PTR arg = 0)
    {
        // Copies first: a or b may be this array.
        SArray left, right;
        left.CopyFromBlock(a);
        right.CopyFromBlock(b);
        SArray<bool> used;
        if (!used.SetSize(right.m_count, false))
            return 0;
        for (int i = 0; i < right.m_count; i++)
            used.SetAt(i, false);
        int before = m_count;
        for (int i = 0; i < left.m_count; i++)
        {
            int match = -1;
            for (int k = 0; k < right.m_count && match < 0; k++)
                if (!used.GetAt(k) && CompareElements(right.m_data + k, left.m_data + i, m_flags, arg) == 0)
                    match = k;
            if (match >= 0)
                used.SetAt(match, true);
            else
                Add(left.m_data[i]);
        }
        return m_count - before;
    }

protected:
    int m_capacity = 0;
    int m_count = 0;
    T* m_data = nullptr;
    int m_flags = 0;

    // Clamps end (negative or past the count = count); false when start is
    // outside the array or the range is empty.
    bool ClampRange(int start, int& end) const
    {
        if (end < 0 || end > m_count)
            end = m_count;
        return start >= 0 && start < m_count && start < end;
    }

private:
    // Copies the elements and flags bitwise, whatever the slots do.
    void CopyFromBlock(const SArray& other)
    {
        if (!SetSize(other.m_count, false))
            return;
        if (other.m_count > 0)
            memcpy((void*)m_data, (const void*)other.m_data, sizeof(T) * (size_t)other.m_count);
        m_flags = other.m_flags;
    }
    void Exchange(int i, int j)
    {
        T held = m_data[i];
        m_data[i] = m_data[j];
        m_data[j] = held;
    }
    // Lomuto partition around the middle element; returns its final place.
    int Partition(int start, int end, INT_PTR arg)
    {
        Exchange(start, (start + end - 1) / 2);
        int last = start;
        for (int i = start + 1; i < end; i++)
        {
            if (CompareElements(m_data + i, m_data + start, m_flags, arg) < 0)
            {
                last++;
                if (last != i)
                    Exchange(last, i);
            }
        }
        if (last != start)
            Exchange(start, last);
        return last;
    }
    // Binary search: the index of an equal element (found set), else the
    // place where value belongs; -1 for an empty array or invalid range.
    int SearchSorted(const T& value, int start, int end, INT_PTR arg, bool& found) const
    {
        found = false;
        if (!ClampRange(start, end))
            return -1;
        int lo = start, hi = end;
        while (hi > lo)
        {
            int mid = lo + (hi - lo) / 2;
            int c = CompareElements(&value, m_data + mid, m_flags, arg);
            if (c == 0)
            {
                found = true;
                return mid;
            }
            if (c < 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        // The element just past a sub-range still decides the side.
        if (lo < m_count && CompareElements(&value, m_data + lo, m_flags, arg) >= 0)
            return lo + 1;
        return lo;
    }
    static void Release(T element)
    {
        if constexpr (SArrayRelease<T>::kind == 2)
            free((void*)element);
        else if constexpr (SArrayRelease<T>::kind == 1)
        {
            static_assert(sizeof(std::remove_pointer_t<T>) > 0, "deleting an incomplete type");
            delete element;
        }
        else
            (void)element;
    }
};

// The element types of the library, compiled once in SArray.cpp.
extern template class SArray<SString*>;
extern template class SArray<int>;
extern template class SArray<unsigned int>;
extern template class SArray<unsigned long>;
extern template class SArray<unsigned short>;
extern template class SArray<bool>;
extern template class SArray<unsigned long long>;
extern template class SArray<double>;
extern template class SArray<RECT>;
extern template class SArray<HWND>;
extern template class SArray<HBITMAP>;
extern template class SArray<HFONT>;
extern template class SArray<_TREEITEM*>;
extern template class SArray<MSG*>;
extern template class SArray<RECT*>;
extern template class SArray<BYTE*>;
extern template class SArray<void*>;
extern template class SArray<int*>;
extern template class SArray<Gdiplus::Color*>;
