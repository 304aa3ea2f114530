#include "SWnd.h"

#include <string.h>

// The data-block channel: another program sends a block of bytes as a run of
// messages (open with the size, 32-bit words, close), and the window receives
// the assembled block in one message.

namespace
{

// The largest data block another program may announce.
const int kMaxDataBlock = 16 * 1024 * 1024;
const int kDataBlockHeader = 16;
// Any program on the desktop may open blocks: their number and their bytes
// together are bounded per window, generously for real use.
const int kMaxOpenDataBlocks = 64;
const long long kMaxOpenDataBytes = 64LL * 1024 * 1024;

int DataAreaSize(int size)
{
    return size - size % 4 + 4;
}

}

bool SWnd::TranslateDataBlock(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    if (msg == WM_S_DATA_OPEN)
    {
        int size = (int)lParam;
        if (size <= 0 || size > kMaxDataBlock || (LPARAM)size != lParam)
            return false;
        int open = 0;
        long long openBytes = 0;
        for (int i = 0; i < m_blocks.GetCount(); i++)
        {
            if (m_blocks.GetAt(i))
            {
                open++;
                openBytes += m_blockSizes.GetAt(i);
            }
        }
        if (open >= kMaxOpenDataBlocks || openBytes + size > kMaxOpenDataBytes)
            return false;
        int area = DataAreaSize(size);
        unsigned char* block = new unsigned char[(size_t)(kDataBlockHeader + area)];
        memset(block, 0, (size_t)(kDataBlockHeader + area));
        int32_t announced = size;
        memcpy(block, &announced, 4);
        int entry = -1;
        for (int i = 0; i < m_blocks.GetCount(); i++)
        {
            if (!m_blocks.GetAt(i) && !m_blockPositions.GetAt(i))
            {
                entry = i;
                break;
            }
        }
        if (entry < 0)
        {
            entry = m_blocks.Add(block);
            m_blockSizes.Add(size);
            m_blockPositions.Add(kDataBlockHeader);
            m_blockFlags.Add((int)wParam);
        }
        else
        {
            m_blocks.SetAt(entry, block);
            m_blockSizes.SetAt(entry, size);
            m_blockPositions.SetAt(entry, kDataBlockHeader);
            m_blockFlags.SetAt(entry, (int)wParam);
        }
        *result = entry + 1;
        return false;
    }
    // The whole handle is compared: on 64-bit builds its high bits must not be dropped.
    if (wParam == 0 || wParam > (WPARAM)m_blocks.GetCount())
        return false;
    int entry = (int)(wParam - 1);
    if (!m_blocks.GetAt(entry))
        return false;
    unsigned char* block = m_blocks.GetAt(entry);
    if (msg == WM_S_DATA_WRITE)
    {
        int position = m_blockPositions.GetAt(entry);
        int end = kDataBlockHeader + DataAreaSize(m_blockSizes.GetAt(entry));
        // A peer that writes past the announced size is ignored: the block never overflows.
        if (position + 4 > end)
            return false;
        uint32_t value = (uint32_t)lParam;
        block[position] = (unsigned char)(value >> 24);
        block[position + 1] = (unsigned char)(value >> 16);
        block[position + 2] = (unsigned char)(value >> 8);
        block[position + 3] = (unsigned char)value;
        m_blockPositions.SetAt(entry, position + 4);
        return false;
    }
    int64_t value = (int64_t)(int32_t)lParam;
    memcpy(block + 4, &value, 8);
    int flags = m_blockFlags.GetAt(entry);
    m_blocks.SetAt(entry, nullptr);
    m_blockSizes.SetAt(entry, 0);
    m_blockPositions.SetAt(entry, 0);
    m_blockFlags.SetAt(entry, 0);
    if (m_handle)
        ::SendMessageA(m_handle, WM_S_DATA_BLOCK, (WPARAM)flags, (LPARAM)block);
    delete[] block;
    return false;
}

void SWnd::FreeDataBlocks()
{
    for (int i = 0; i < m_blocks.GetCount(); i++)
        delete[] m_blocks.GetAt(i);
    m_blocks.RemoveAll();
    m_blockSizes.RemoveAll();
    m_blockPositions.RemoveAll();
    m_blockFlags.RemoveAll();
}
