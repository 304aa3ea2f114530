#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "SFileMem.h"
#include "SImage.h"
#include "SImageList.h"

namespace {

class SImageListTest : public GdiplusSuite
{
};

// A 32 x 32 PNG: transparent border of 8 pixels around an opaque red square.
void MakeFramedPng(SFileMem* memory)
{
    SImage picture(32, 32, PixelFormat32bppARGB);
    picture.Fill(0x00000000u);
    RECT inner = {8, 8, 24, 24};
    picture.Fill(0xFFFF0000u, &inner);
    memory->Allocate(0);
    ASSERT_TRUE(picture.Save(memory, IMAGE_FORMAT_PNG));
    memory->Rewind();
}

// Adds the framed PNG to a new list of square cells and reads its cell back.
void AddFramedPngAndReadBack(SImageList* list, int cellSize, bool disabledLook, SImage* cell)
{
    ASSERT_TRUE(list->Create(cellSize, cellSize));
    SFileMem memory;
    ASSERT_NO_FATAL_FAILURE(MakeFramedPng(&memory));
    ASSERT_TRUE(list->AddFile(&memory, disabledLook));
    ASSERT_EQ(1, list->GetCount());
    ASSERT_TRUE(cell->FromImageList(list->GetHandle(), 0));
}

} // namespace

TEST_F(SImageListTest, CreateClampsCellSizes)
{
    SImageList list;
    EXPECT_EQ(nullptr, list.GetHandle());
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(0, list.GetIconSize().cx);
    struct Case {
        int width, height, cellWidth, cellHeight;
    } cases[] = {{0, 300, 16, 16}, {24, 32, 24, 32}, {256, 1, 256, 1}, {257, -4, 16, 16}};
    for (const Case& c : cases) {
        ASSERT_TRUE(list.Create(c.width, c.height));
        EXPECT_EQ(c.cellWidth, list.GetIconWidth());
        EXPECT_EQ(c.cellHeight, list.GetIconHeight());
        EXPECT_EQ(0, list.GetCount());
    }
}

TEST_F(SImageListTest, AddingNeedsAList)
{
    SImageList list;
    SImage picture(16, 16, PixelFormat32bppARGB);
    SFileMem memory;
    MakeFramedPng(&memory);
    EXPECT_FALSE(list.AddImage(&picture));
    EXPECT_FALSE(list.AddBlank());
    EXPECT_FALSE(list.AddFile(&memory));
    EXPECT_FALSE(list.RemoveAll());
    EXPECT_EQ(0, list.GetCount());
}

TEST_F(SImageListTest, StripIsCutIntoCells)
{
    SImage strip(100, 16, PixelFormat32bppARGB);
    for (int cell = 0; cell < 6; cell++) {
        RECT area = {cell * 16, 0, cell * 16 + 16, 16};
        strip.Fill(0xFF000000u | (uint32_t)(cell * 40), &area);
    }
    SImageList list;
    ASSERT_TRUE(list.AddStrip(&strip, 16, 16));
    EXPECT_EQ(6, list.GetCount());
    SImage cell;
    for (int i = 0; i < 6; i++) {
        ASSERT_TRUE(cell.FromImageList(list.GetHandle(), i));
        EXPECT_EQ((uint32_t)(i * 40), cell.GetPixelColor(8, 8) & 0xFFFFFF) << i;
    }

    SImage narrow(10, 16, PixelFormat32bppARGB);
    EXPECT_FALSE(list.AddStrip(&narrow, 16, 16));
    EXPECT_EQ(0, list.GetCount());
    SImage flat(64, 8, PixelFormat32bppARGB);
    EXPECT_FALSE(list.AddStrip(&flat, 16, 16));
    EXPECT_FALSE(list.AddStrip(nullptr, 16, 16));
    SImage large(200, 100, PixelFormat32bppARGB);
    EXPECT_FALSE(list.AddStrip(&large, 1, 1));  // 20000 cells: refused at once
    EXPECT_EQ(nullptr, list.GetHandle());

    SImage grid(32, 32, PixelFormat32bppARGB);
    ASSERT_TRUE(list.AddStrip(&grid, 0, 0));
    EXPECT_EQ(4, list.GetCount());
    EXPECT_EQ(16, list.GetIconWidth());
}

TEST_F(SImageListTest, LargerPictureIsScaledAndKeepsItsTransparency)
{
    SImageList list;
    SImage cell;
    ASSERT_NO_FATAL_FAILURE(AddFramedPngAndReadBack(&list, 16, false, &cell));
    EXPECT_EQ(16, cell.GetWidth());
    EXPECT_EQ(0u, cell.GetPixelColor(0, 0) >> 24);
    EXPECT_EQ(0xFFu, cell.GetPixelColor(8, 8) >> 24);
    EXPECT_GT((cell.GetPixelColor(8, 8) >> 16) & 0xFF, 200u);

    // The caller's picture is not changed by the scaling.
    SImage picture(32, 32, PixelFormat32bppARGB);
    ASSERT_TRUE(list.AddImage(&picture));
    EXPECT_EQ(32, picture.GetWidth());
    EXPECT_EQ(2, list.GetCount());
}

TEST_F(SImageListTest, DisabledLookIsGreyAndHalfTransparent)
{
    SImageList list;
    SImage cell;
    ASSERT_NO_FATAL_FAILURE(AddFramedPngAndReadBack(&list, 32, true, &cell));
    uint32_t pixel = cell.GetPixelColor(16, 16);
    EXPECT_LE(pixel >> 24, 128u);
    EXPECT_GT(pixel >> 24, 0u);
    EXPECT_EQ((pixel >> 16) & 0xFF, pixel & 0xFF);
    EXPECT_EQ((pixel >> 8) & 0xFF, pixel & 0xFF);
}

TEST_F(SImageListTest, FailedAddsLeaveTheListUnchanged)
{
    SImageList list;
    ASSERT_TRUE(list.Create(16, 16));
    ASSERT_TRUE(list.AddBlank());
    ASSERT_EQ(1, list.GetCount());
    SFileMem damaged;
    damaged.Write("\x89PNG\r\n\x1a\n garbage", 16);
    damaged.Rewind();
    EXPECT_FALSE(list.AddFile(&damaged));
    SImage empty;
    EXPECT_FALSE(list.AddImage(&empty));
    EXPECT_FALSE(list.AddImage(nullptr));
    EXPECT_FALSE(list.AddResource(4321, "BINARY"));
    EXPECT_FALSE(list.AddResource(4321));
    EXPECT_EQ(1, list.GetCount());

    SImage picture(16, 16, PixelFormat32bppARGB);
    picture.Fill(0xFF0000FFu);
    HICON icon = picture.GetHIcon();
    ASSERT_TRUE(list.AddIcon(icon));
    DestroyIcon(icon);
    HBITMAP bitmap = picture.GetHBitmap();
    ASSERT_TRUE(list.AddBitmap(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(3, list.GetCount());
    EXPECT_TRUE(list.RemoveAll());
    EXPECT_EQ(0, list.GetCount());
    list.Destroy();
    EXPECT_EQ(nullptr, list.GetHandle());
}
