#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <initializer_list>
#include <vector>
#include "SArray.h"

namespace
{

SArray<int>* Fill(SArray<int>& array, std::initializer_list<int> values)
{
    array.RemoveAll();
    for (int value : values)
        array.Add(value);
    return &array;
}

std::vector<int> Items(const SArray<int>& array)
{
    std::vector<int> items;
    for (int i = 0; i < array.GetCount(); i++)
        items.push_back(array.GetAt(i));
    return items;
}

// Counts live objects so that the delete operations can be observed.
struct Tracked
{
    static int alive;
    explicit Tracked(int value) : value(value) { alive++; }
    virtual ~Tracked() { alive--; }
    int value;
};
int Tracked::alive = 0;

// Records the indexes the delete operations announce.
class TrackedArray : public SArray<Tracked*>
{
public:
    std::vector<int> announced;
    void OnElementDelete(Tracked** element, int index, INT_PTR arg) override
    {
        EXPECT_NE(*element, nullptr);
        EXPECT_EQ(arg, 0);
        announced.push_back(index);
    }
};

// Orders by absolute value: the element type's own comparison.
class AbsoluteArray : public SArray<int>
{
public:
    int Compare(const int* a, const int* b, int compareFlags, INT_PTR arg) const override
    {
        (void)arg;
        int x = *a < 0 ? -*a : *a, y = *b < 0 ? -*b : *b;
        int c = x < y ? -1 : (x > y ? 1 : 0);
        return (compareFlags & 1) ? -c : c;
    }
};

} // namespace

TEST(SArray, CapacityGrowsAndShrinksInBlocksOf64)
{
    SArray<int> array;
    EXPECT_EQ(array.GetCapacity(), 0);
    EXPECT_EQ(array.GetCount(), 0);
    array.Add(1);
    EXPECT_EQ(array.GetCapacity(), 64);
    for (int i = 1; i < 64; i++)
        array.Add(i);
    EXPECT_EQ(array.GetCount(), 64);
    EXPECT_EQ(array.GetCapacity(), 128);
    EXPECT_EQ(array.GetAt(63), 63);
    array.RemoveAt(10, 1);
    EXPECT_EQ(array.GetCapacity(), 64);
    EXPECT_EQ(array.GetAt(62), 63);
    array.RemoveAll();
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.GetCapacity(), 64);
    array.FreeStorage();
    EXPECT_EQ(array.GetCapacity(), 0);
    EXPECT_EQ(array.GetPtr(0), nullptr);
}

TEST(SArray, SetSizeKeepsOrDropsElements)
{
    SArray<int> array;
    Fill(array, { 1, 2, 3 });
    EXPECT_TRUE(array.SetSizeKeep(200));
    EXPECT_EQ(array.GetCapacity(), 256);
    EXPECT_EQ(array.GetAt(2), 3);
    EXPECT_TRUE(array.SetSize(-5, true));
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_FALSE(array.SetSize(INT_MAX, false));
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.Add(7, 0, INT_MAX), -1);
    EXPECT_EQ(array.GetCount(), 0);
}

TEST(SArray, AddInsertsCopiesAtIndex)
{
    struct Case
    {
        std::initializer_list<int> before;
        int index, count, result;
        std::vector<int> after;
    };
    const Case cases[] = {
        { { 1, 2, 3 }, 5, 1, 3, { 1, 2, 3, 9 } },
        { { 1, 2, 3 }, 1, 0, -1, { 1, 2, 3 } },
        { { 1, 2 }, 1, 3, 1, { 1, 9, 9, 9, 2 } },
        { { 1, 2 }, -1, 2, 2, { 1, 2, 9, 9 } },
        { { 1, 2 }, 0, 1, 0, { 9, 1, 2 } },
        { {}, -1, 1, 0, { 9 } },
    };
    for (const Case& c : cases)
    {
        SArray<int> array;
        Fill(array, c.before);
        EXPECT_EQ(array.Add(9, c.index, c.count), c.result);
        EXPECT_EQ(Items(array), c.after);
    }
}

TEST(SArray, RemoveClipsRanges)
{
    struct Case
    {
        int index, count;
        std::vector<int> after;
    };
    const Case cases[] = {
        { 1, -1, { 1 } },
        { 4, 1, { 1, 2, 3, 4 } },
        { -1, 1, { 1, 2, 3, 4 } },
        { 2, 10, { 1, 2 } },
        { 0, 2, { 3, 4 } },
        { 1, 0, { 1, 2, 3, 4 } },
    };
    for (const Case& c : cases)
    {
        SArray<int> array;
        Fill(array, { 1, 2, 3, 4 });
        array.RemoveAt(c.index, c.count);
        EXPECT_EQ(Items(array), c.after);
    }
    SArray<int> array;
    Fill(array, { 5, 1, 5, 2, 5 });
    EXPECT_EQ(array.RemoveValue(5, 1, -1), 2);
    EXPECT_EQ(Items(array), (std::vector<int>{ 5, 1, 2 }));
    EXPECT_EQ(array.RemoveValue(5, 3, -1), 0);
    array.RemoveLast();
    EXPECT_EQ(Items(array), (std::vector<int>{ 5, 1 }));
}

TEST(SArray, FindAndLookupHonourRanges)
{
    SArray<int> array;
    EXPECT_EQ(array.Find(1), -1);
    Fill(array, { 4, 8, 4, 6 });
    EXPECT_EQ(array.Find(4), 0);
    EXPECT_EQ(array.Find(4, 1), 2);
    EXPECT_EQ(array.Find(4, 1, 2), -1);
    EXPECT_EQ(array.Find(8, 2, 2), -1);
    EXPECT_EQ(array.Find(6, 0, 99), 3);
    EXPECT_EQ(array.Find(6, 4), -1);
    EXPECT_EQ(array.Find(6, -1), -1);
    SArray<int*> pointers;
    int a = 0, b = 0;
    pointers.Add(&a);
    EXPECT_EQ(pointers.Lookup(&a), &a);
    EXPECT_EQ(pointers.Lookup(&b), nullptr);
}

TEST(SArray, SortedInsertAndSearch)
{
    struct Case
    {
        std::initializer_list<int> before;
        int value, position;
    };
    const Case cases[] = {
        { { 1, 3, 7 }, 5, 2 },
        { { 1, 3, 7 }, 9, 3 },
        { { 1, 3, 7 }, 0, 0 },
        { { 1, 3, 7 }, 3, 1 },
        { {}, 5, 0 },
    };
    for (const Case& c : cases)
    {
        SArray<int> array;
        Fill(array, c.before);
        EXPECT_EQ(array.InsertSorted(c.value), c.position);
        EXPECT_EQ(array.GetAt(c.position), c.value);
        std::vector<int> items = Items(array);
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));
    }
    SArray<int> array;
    Fill(array, { 1, 3, 7, 10 });
    EXPECT_EQ(array.FindSorted(7), 2);
    EXPECT_EQ(array.FindSorted(4), -1);
    EXPECT_EQ(array.FindSorted(1, 1, -1), -1);
    EXPECT_EQ(array.InsertPosition(8, 0, 3), 3);
    // The element just past a sub-range decides the side of an insert at its end.
    EXPECT_EQ(array.InsertPosition(11, 0, 3), 4);
    EXPECT_EQ(array.InsertPosition(7, 1, 2), 3);
    array.AddFlags(1);
    Fill(array, {});
    for (int value : { 4, 9, 1, 7 })
        array.InsertSorted(value);
    EXPECT_EQ(Items(array), (std::vector<int>{ 9, 7, 4, 1 }));
    EXPECT_EQ(array.FindSorted(4), 2);
}

TEST(SArray, SortUsesDirectionAndSignedness)
{
    SArray<int> array;
    Fill(array, { 1, 3, 2 })->AddFlags(1);
    array.Sort();
    EXPECT_EQ(Items(array), (std::vector<int>{ 3, 2, 1 }));

    SArray<int> signedValues;
    Fill(signedValues, { 1, -1, 0 });
    signedValues.Sort();
    EXPECT_EQ(Items(signedValues), (std::vector<int>{ -1, 0, 1 }));

    SArray<unsigned int> unsignedValues;
    unsignedValues.Add(0xFFFFFFFFu);
    unsignedValues.Add(1);
    unsignedValues.Sort();
    EXPECT_EQ(unsignedValues.GetAt(0), 1u);
    EXPECT_EQ(unsignedValues.GetAt(1), 0xFFFFFFFFu);

    char block[2];
    SArray<void*> pointers;
    pointers.Add(block + 1);
    pointers.Add(block);
    pointers.Sort();
    EXPECT_EQ(pointers.GetAt(0), (void*)block);

    SArray<double> reals;
    for (double x : { 2.5, -1.0, 0.25 })
        reals.Add(x);
    reals.Sort();
    EXPECT_EQ(reals.GetAt(0), -1.0);
    EXPECT_EQ(reals.GetAt(2), 2.5);
}

TEST(SArray, SortMatchesReferenceOnRangesAndRandomData)
{
    srand(7);
    SArray<int> array;
    std::vector<int> reference;
    for (int i = 0; i < 3000; i++)
    {
        int value = rand() % 500 - 250;
        array.Add(value);
        reference.push_back(value);
    }
    array.Sort(100, 2000);
    std::sort(reference.begin() + 100, reference.begin() + 2000);
    EXPECT_EQ(Items(array), reference);
    array.Sort(0, -1);
    std::sort(reference.begin(), reference.end());
    EXPECT_EQ(Items(array), reference);

    SArray<int> untouched;
    Fill(untouched, { 3, 2, 1 });
    for (auto range : { std::make_pair(-1, 3), std::make_pair(0, 4), std::make_pair(0, -2),
                        std::make_pair(2, 3) })
    {
        untouched.Sort(range.first, range.second);
        EXPECT_EQ(Items(untouched), (std::vector<int>{ 3, 2, 1 }));
    }
}

namespace
{
// Notes the deepest stack address reached by a comparison, to measure how
// deep the sort recursed.
class StackProbeArray : public SArray<int>
{
public:
    mutable uintptr_t lowest = UINTPTR_MAX;
    int Compare(const int* a, const int* b, int compareFlags, INT_PTR arg) const override
    {
        volatile char marker = 0;
        (void)a;
        (void)b;
        (void)compareFlags;
        (void)arg;
        if ((uintptr_t)&marker < lowest)
            lowest = (uintptr_t)&marker;
        return -2;
    }
};

// Values for which the middle element of every range is its maximum, so
// that each partition leaves everything but the pivot on the lower side.
std::vector<int> MaximumPivotSequence(int n)
{
    std::vector<int> place(n), value(n);
    for (int i = 0; i < n; i++)
        place[i] = i;
    int next = n - 1;
    for (int end = n; end >= 2; end--)
    {
        std::swap(place[0], place[(end - 1) / 2]);
        value[place[0]] = next--;
        std::swap(place[0], place[end - 1]);
    }
    value[place[0]] = next;
    return value;
}
} // namespace

TEST(SArray, SortKeepsTheStackShallow)
{
    // One level per element would take far more than 16 KB of stack for
    // 3000 elements; halving ranges needs about a dozen levels.
    const int n = 3000;
    std::vector<int> worst = MaximumPivotSequence(n);
    std::vector<int> equal(n, 42);
    for (const std::vector<int>* values : { &worst, &equal })
    {
        StackProbeArray array;
        for (int value : *values)
            array.Add(value);
        volatile char top = 0;
        array.Sort();
        uintptr_t depth = array.lowest < (uintptr_t)&top ? (uintptr_t)&top - array.lowest : 0;
        EXPECT_LT(depth, 16u * 1024u);
        std::vector<int> sorted = *values;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(Items(array), sorted);
    }
}

TEST(SArray, ElementCompareOverridesDefault)
{
    AbsoluteArray array;
    for (int value : { -5, 3, -1, 4 })
        array.Add(value);
    array.Sort();
    EXPECT_EQ(Items(array), (std::vector<int>{ -1, 3, 4, -5 }));
    EXPECT_EQ(array.Find(1), 0);
    EXPECT_EQ(array.FindSorted(-4), 2);
    EXPECT_EQ(array.InsertSorted(-2), 1);
}

TEST(SArray, SetAtSwapAndCopy)
{
    SArray<int> array;
    array.SetAt(-1, 5);
    EXPECT_EQ(array.GetCount(), 0);
    Fill(array, { 1, 2 });
    array.SetAt(-1, 5);
    EXPECT_EQ(Items(array), (std::vector<int>{ 5, 5 }));
    array.SetAt(2, 9);
    array.SetAt(-2, 9);
    array.SetAt(1, 7);
    EXPECT_EQ(Items(array), (std::vector<int>{ 5, 7 }));

    EXPECT_FALSE(array.Swap(1, 1));
    EXPECT_FALSE(array.Swap(0, 2));
    EXPECT_FALSE(array.Swap(-1, 0));
    EXPECT_TRUE(array.Swap(0, 1));
    EXPECT_EQ(Items(array), (std::vector<int>{ 7, 5 }));

    array.AddFlags(1);
    SArray<int> copy(array);
    copy.SetAt(0, 0);
    EXPECT_EQ(array.GetAt(0), 7);
    EXPECT_EQ(copy.GetFlags(), 1);
    copy = array;
    EXPECT_EQ(Items(copy), Items(array));
    EXPECT_EQ(array.GetFirst(), 7);
    EXPECT_EQ(array.GetLast(), 5);
    SArray<int> empty;
    EXPECT_EQ(empty.GetFirst(), 0);
    EXPECT_EQ(empty.GetLast(), 0);
}

TEST(SArray, InsertArrayCopiesInOrder)
{
    SArray<int> array, other;
    Fill(array, { 1, 2 });
    Fill(other, { 7, 8 });
    EXPECT_EQ(array.InsertArray(&other, 1), 2);
    EXPECT_EQ(Items(array), (std::vector<int>{ 1, 7, 8, 2 }));
    EXPECT_EQ(array.InsertArray(&other, 99), 2);
    EXPECT_EQ(Items(array), (std::vector<int>{ 1, 7, 8, 2, 7, 8 }));
    EXPECT_EQ(array.InsertArray(nullptr, 0), 0);
    Fill(array, { 1, 2 });
    EXPECT_EQ(array.InsertArray(&array, 0), 2);
    EXPECT_EQ(Items(array), (std::vector<int>{ 1, 2, 1, 2 }));
}

TEST(SArray, DeleteOperationsDestroyObjectsOnce)
{
    Tracked::alive = 0;
    {
        TrackedArray array;
        for (int i = 0; i < 4; i++)
            array.Add(new Tracked(i));
        array.Add(nullptr);
        array.DeleteAll();
        EXPECT_EQ(Tracked::alive, 0);
        EXPECT_EQ(array.GetCount(), 5);
        EXPECT_EQ(array.GetAt(2), nullptr);
        EXPECT_EQ(array.announced, (std::vector<int>{ 0, 1, 2, 3 }));
        array.DeleteAll();
        EXPECT_EQ(array.announced.size(), 4u);

        array.RemoveAll();
        for (int i = 0; i < 4; i++)
            array.Add(new Tracked(i));
        array.DeleteAndRemoveAt(1, 2);
        EXPECT_EQ(Tracked::alive, 2);
        ASSERT_EQ(array.GetCount(), 2);
        EXPECT_EQ(array.GetAt(1)->value, 3);
        array.DeleteLast();
        EXPECT_EQ(Tracked::alive, 1);
        EXPECT_EQ(array.GetCount(), 2);
        array.DeleteAt(5, 1);
        array.DeleteAt(0, -1);
        EXPECT_EQ(Tracked::alive, 0);
        array.Add(new Tracked(9));
        array.DestroyAll();
        EXPECT_EQ(Tracked::alive, 0);
        EXPECT_EQ(array.GetCount(), 0);
    }
    SArray<HWND> windows;
    windows.Add((HWND)(UINT_PTR)0x1234);
    windows.DeleteAll();
    EXPECT_EQ(windows.GetAt(0), (HWND)(UINT_PTR)0x1234);
    SArray<void*> blocks;
    blocks.Add(malloc(16));
    blocks.DestroyAll();
    EXPECT_EQ(blocks.GetCount(), 0);
}

TEST(SArray, AppendDifferenceCancelsOneForOne)
{
    struct Case
    {
        std::initializer_list<int> a, b;
        std::vector<int> appended;
    };
    const Case cases[] = {
        { { 1, 2, 2, 3 }, { 2, 3 }, { 1, 2 } },
        { { 1, 2 }, {}, { 1, 2 } },
        { {}, { 1 }, {} },
        { { 4, 4 }, { 4, 4, 4 }, {} },
    };
    for (const Case& c : cases)
    {
        SArray<int> a, b, result;
        Fill(a, c.a);
        Fill(b, c.b);
        result.Add(100);
        EXPECT_EQ(result.AppendDifference(a, b), (int)c.appended.size());
        std::vector<int> expected{ 100 };
        expected.insert(expected.end(), c.appended.begin(), c.appended.end());
        EXPECT_EQ(Items(result), expected);
    }
    SArray<int> self;
    Fill(self, { 1, 2 });
    EXPECT_EQ(self.AppendDifference(self, SArray<int>()), 2);
    EXPECT_EQ(Items(self), (std::vector<int>{ 1, 2, 1, 2 }));
}

TEST(SArray, ShufflePermutesOnlyTheRange)
{
    srand(11);
    SArray<int> array;
    for (int i = 0; i < 30; i++)
        array.Add(i);
    bool moved = false;
    for (int round = 0; round < 3; round++)
    {
        array.Shuffle(5, 25);
        std::vector<int> items = Items(array);
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(items[i], i);
        for (int i = 25; i < 30; i++)
            EXPECT_EQ(items[i], i);
        std::vector<int> middle(items.begin() + 5, items.begin() + 25);
        for (int i = 0; i < 20; i++)
            moved = moved || middle[i] != i + 5;
        std::sort(middle.begin(), middle.end());
        for (int i = 0; i < 20; i++)
            EXPECT_EQ(middle[i], i + 5);
    }
    EXPECT_TRUE(moved);
    std::vector<int> before = Items(array);
    array.Shuffle(30, -1);
    array.Shuffle(-1, 5);
    EXPECT_EQ(Items(array), before);
}

TEST(SArray, ValueTypesKeepTheirWidth)
{
    SArray<unsigned short> shorts;
    shorts.Add(65535);
    shorts.Add(1, 0);
    EXPECT_EQ(shorts.GetAt(0), 1);
    EXPECT_EQ(shorts.GetAt(1), 65535);

    SArray<unsigned long long> wide;
    wide.Add(0xFFFFFFFF00000000ull);
    wide.Add(0x100000000ull);
    wide.Sort();
    EXPECT_EQ(wide.GetAt(0), 0x100000000ull);
    EXPECT_STREQ(wide.FormatElement(wide.GetPtr(1)), "18446744069414584320");

    SArray<bool> flags;
    flags.Add(true, 0, 3);
    flags.RemoveAt(1);
    EXPECT_EQ(flags.GetCount(), 2);
    EXPECT_TRUE(flags.GetAt(1));

    SArray<RECT> rects;
    RECT a = { 1, 2, 3, 4 }, b = { 0, 9, 9, 9 };
    rects.Add(a);
    rects.Add(b);
    rects.Sort();
    EXPECT_EQ(rects.GetAt(0).left, 0);
    EXPECT_EQ(rects.Find(a), 1);
    EXPECT_STREQ(rects.FormatElement(rects.GetPtr(1)), "1,2,3,4");
    EXPECT_EQ(rects.GetPtr(2), nullptr);

    SArray<double> reals;
    reals.Add(0.5, -1, 3);
    reals.SetAt(-1, 1.5);
    EXPECT_EQ(reals.GetAt(2), 1.5);
    EXPECT_STREQ(reals.FormatElement(reals.GetPtr(0)), "1.5");
    EXPECT_STREQ(shorts.FormatElement(shorts.GetPtr(1)), "65535");
    // 32-bit numbers and pointers have no text form.
    SArray<int> numbers;
    numbers.Add(-12);
    EXPECT_TRUE(numbers.FormatElement(numbers.GetPtr(0)).IsEmpty());
    SArray<Tracked*> records;
    Tracked record(1);
    records.Add(&record);
    EXPECT_TRUE(records.FormatElement(records.GetPtr(0)).IsEmpty());
}
