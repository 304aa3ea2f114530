#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

// The zero-terminated heap buffer behind the 8-bit and the UTF-16 strings:
// it grows in fixed steps of units and never shrinks.
namespace STextBuffer
{
// Sets length to newLength (negative counts as 0) and terminates the buffer
// there, first growing it to the smallest multiple of step strictly above
// newLength + 1 when that exceeds capacity; keep carries the old content
// over. Returns the buffer, null (nothing changed) when newLength exceeds
// maxLength or memory runs out.
template <class Char>
Char* Resize(Char*& buffer, int32_t& length, int32_t& capacity, int newLength, bool keep, int step,
             int maxLength)
{
    if (newLength < 0)
        newLength = 0;
    if (newLength > maxLength)
        return nullptr;
    int needed = ((newLength + 1) / step + 1) * step;
    if (needed > capacity)
    {
        Char* grown = static_cast<Char*>(malloc(sizeof(Char) * size_t(needed)));
        if (!grown)
            return nullptr;
        if (keep && buffer)
            memcpy(grown, buffer, sizeof(Char) * size_t(newLength < length ? newLength : length));
        free(buffer);
        buffer = grown;
        capacity = needed;
    }
    length = newLength;
    buffer[newLength] = 0;
    return buffer;
}

// Resize keeping the content; the units from the old length to the new one
// are set to fill unless fill is 0.
template <class Char>
Char* SetLength(Char*& buffer, int32_t& length, int32_t& capacity, int newLength, Char fill, int step,
                int maxLength)
{
    int oldLength = length;
    if (!Resize(buffer, length, capacity, newLength, true, step, maxLength))
        return nullptr;
    if (fill != 0)
        for (int i = oldLength; i < length; ++i)
            buffer[i] = fill;
    return buffer;
}

// Replaces the content by count units of text (count < 0: up to its
// terminator); null text gives the empty text with the buffer kept. The
// text may lie inside the buffer itself. Returns the buffer, null (nothing
// changed) when the text is too long or memory runs out.
template <class Char>
Char* Assign(Char*& buffer, int32_t& length, int32_t& capacity, const Char* text, int count, int step,
             int maxLength)
{
    if (!text)
        return Resize(buffer, length, capacity, 0, false, step, maxLength);
    size_t measured = count < 0 ? std::char_traits<Char>::length(text) : size_t(count);
    if (measured > size_t(maxLength))
        return nullptr;
    // Compare as integers: the pointers may belong to different blocks.
    uintptr_t at = uintptr_t(text), begin = uintptr_t(buffer);
    bool inside = buffer && at >= begin && at < begin + sizeof(Char) * size_t(capacity);
    if (!inside)
    {
        if (!Resize(buffer, length, capacity, int(measured), false, step, maxLength))
            return nullptr;
        memcpy(buffer, text, sizeof(Char) * measured);
        return buffer;
    }
    // The source lives in the buffer that a resize may free: copy into a fresh one.
    Char* fresh = nullptr;
    int32_t freshLength = 0, freshCapacity = 0;
    if (!Resize(fresh, freshLength, freshCapacity, int(measured), false, step, maxLength))
        return nullptr;
    memcpy(fresh, text, sizeof(Char) * measured);
    free(buffer);
    buffer = fresh;
    length = freshLength;
    capacity = freshCapacity;
    return buffer;
}

// Frees the buffer: no buffer, length 0, capacity 0.
template <class Char>
void Free(Char*& buffer, int32_t& length, int32_t& capacity)
{
    free(buffer);
    buffer = nullptr;
    length = 0;
    capacity = 0;
}
}
