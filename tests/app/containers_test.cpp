// The doubling array and the parallel-array map, over a heap that records every
// reallocation, can refuse a chosen one, and always moves a block that it
// resizes (poisoning the old place), so that a container that keeps using an
// old block or an element reference into it reads garbage the test sees.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "app/containers.h"

namespace {

struct HeapCall {
    const void* block;
    std::size_t bytes;
    const void* result;
};

constexpr unsigned char kPoison = 0xDD;

struct HeapState {
    std::vector<HeapCall> calls;
    std::size_t refusedCall = 0;              // 1-based index into calls; 0: refuse none
    std::map<const void*, std::size_t> live;  // block -> size
    std::vector<void*> retired;               // poisoned old blocks, freed at reset
    int unknownBlocks = 0;

    void Reset()
    {
        for (void* block : retired)
            std::free(block);
        retired.clear();
        calls.clear();
        live.clear();
        refusedCall = 0;
        unknownBlocks = 0;
    }
};

HeapState& Heap()
{
    static HeapState state;
    return state;
}

struct TestHeap {
    static void* Reallocate(void* block, std::size_t bytes)
    {
        HeapState& heap = Heap();
        const std::size_t number = heap.calls.size() + 1;
        std::size_t oldSize = 0;
        if (block) {
            auto found = heap.live.find(block);
            if (found == heap.live.end()) {
                ++heap.unknownBlocks;
                heap.calls.push_back({block, bytes, nullptr});
                return nullptr;
            }
            oldSize = found->second;
        }
        // Releasing never fails: a resize to zero always gives the block back.
        if (bytes != 0 && number == heap.refusedCall) {
            heap.calls.push_back({block, bytes, nullptr});
            return nullptr;
        }
        void* fresh = nullptr;
        if (bytes != 0) {
            fresh = std::malloc(bytes);
            std::memset(fresh, kPoison, bytes);
            if (block)
                std::memcpy(fresh, block, oldSize < bytes ? oldSize : bytes);
            heap.live[fresh] = bytes;
        }
        if (block) {
            std::memset(block, kPoison, oldSize);
            heap.live.erase(block);
            heap.retired.push_back(block);
        }
        heap.calls.push_back({block, bytes, fresh});
        return fresh;
    }
};

std::size_t LiveSize(const void* block)
{
    auto found = Heap().live.find(block);
    return found == Heap().live.end() ? 0 : found->second;
}

// Makes the n-th reallocation from now on fail (n = 1: the next one).
void RefuseCall(std::size_t n)
{
    Heap().refusedCall = Heap().calls.size() + n;
}

class ContainerTest : public testing::Test {
protected:
    void SetUp() override { Heap().Reset(); }
    void TearDown() override
    {
        // Every container of the test has ended: nothing may be left behind.
        EXPECT_TRUE(Heap().live.empty()) << Heap().live.size() << " block(s) leaked";
        EXPECT_EQ(Heap().unknownBlocks, 0) << "a container handed the heap a block it never gave";
        Heap().Reset();
    }
    std::size_t Calls() const { return Heap().calls.size(); }
    const HeapCall& LastCall() const { return Heap().calls.back(); }
};

using Array = GrowArray<std::int32_t, TestHeap>;
// Keys and values of different sizes: a resize with the wrong element size shows.
using Map = KeyMap<std::uint32_t, std::uint64_t, TestHeap>;

std::vector<std::int32_t> Elements(const Array& array)
{
    return std::vector<std::int32_t>(array.data, array.data + array.count);
}

std::vector<std::uint32_t> Keys(const Map& map)
{
    return std::vector<std::uint32_t>(map.keys, map.keys + map.count);
}

std::vector<std::uint64_t> Values(const Map& map)
{
    return std::vector<std::uint64_t>(map.values, map.values + map.count);
}

// ---------------------------------------------------------------- GrowArray

using GrowArrayTest = ContainerTest;

TEST_F(GrowArrayTest, NewArrayHasNoStorage)
{
    Array array;
    EXPECT_EQ(array.data, nullptr);
    EXPECT_EQ(array.count, 0);
    EXPECT_EQ(array.capacity, 0);
    EXPECT_EQ(Calls(), 0u);
}

TEST_F(GrowArrayTest, CapacityDoublesOnlyWhenFull)
{
    Array array;
    const int expectedCapacity[] = {1, 2, 4, 4, 8, 8, 8, 8, 16};
    const std::size_t expectedCalls[] = {1, 1, 1, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) {
        const std::size_t before = Calls();
        const void* oldData = array.data;
        ASSERT_TRUE(array.Append(100 + i)) << "append " << i + 1;
        EXPECT_EQ(array.capacity, expectedCapacity[i]) << "after append " << i + 1;
        EXPECT_EQ(Calls() - before, expectedCalls[i]) << "heap calls of append " << i + 1;
        if (Calls() > before) {
            EXPECT_EQ(LastCall().block, oldData);
            EXPECT_EQ(LastCall().bytes, std::size_t(expectedCapacity[i]) * sizeof(std::int32_t));
        }
        EXPECT_EQ(array.count, i + 1);
    }
    EXPECT_EQ(Elements(array), (std::vector<std::int32_t>{100, 101, 102, 103, 104, 105, 106, 107, 108}));
}

TEST_F(GrowArrayTest, RefusedGrowthChangesNothing)
{
    Array array;
    RefuseCall(1);
    EXPECT_FALSE(array.Append(1));
    EXPECT_EQ(array.data, nullptr);
    EXPECT_EQ(array.count, 0);
    EXPECT_EQ(array.capacity, 0);

    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(array.Append(10 + i));
    const std::int32_t* data = array.data;
    RefuseCall(1);
    EXPECT_FALSE(array.Append(99));
    EXPECT_EQ(array.data, data);
    EXPECT_EQ(array.count, 4);
    EXPECT_EQ(array.capacity, 4);
    EXPECT_EQ(Elements(array), (std::vector<std::int32_t>{10, 11, 12, 13}));

    // The refusal leaves the array fit for the next growth.
    EXPECT_TRUE(array.Append(14));
    EXPECT_EQ(array.capacity, 8);
    EXPECT_EQ(Elements(array), (std::vector<std::int32_t>{10, 11, 12, 13, 14}));
}

TEST_F(GrowArrayTest, ClearReleasesStorageAndStartsOver)
{
    Array array;
    array.Clear();
    EXPECT_EQ(Calls(), 0u) << "clearing a new array touches no storage";
    EXPECT_EQ(array.capacity, 0);

    for (int i = 0; i < 3; ++i)
        array.Append(i);
    const void* data = array.data;
    const std::size_t before = Calls();
    array.Clear();
    ASSERT_EQ(Calls(), before + 1);
    EXPECT_EQ(LastCall().block, data);
    EXPECT_EQ(LastCall().bytes, 0u);
    EXPECT_EQ(array.data, nullptr);
    EXPECT_EQ(array.count, 0);
    EXPECT_EQ(array.capacity, 0);

    EXPECT_TRUE(array.Append(7));
    EXPECT_EQ(LastCall().block, nullptr);
    EXPECT_EQ(LastCall().bytes, sizeof(std::int32_t));
    EXPECT_EQ(array.capacity, 1);
    EXPECT_EQ(Elements(array), (std::vector<std::int32_t>{7}));
}

TEST_F(GrowArrayTest, AppendingItsOwnElementWhileGrowing)
{
    Array array;
    array.Append(41);
    array.Append(42);
    ASSERT_EQ(array.count, array.capacity);
    // The element lives in the block that this append moves away.
    EXPECT_TRUE(array.Append(array[0]));
    EXPECT_EQ(Elements(array), (std::vector<std::int32_t>{41, 42, 41}));
}

TEST_F(GrowArrayTest, SizesPastThirtyTwoBitsAreRefusedWithoutAskingTheHeap)
{
    EXPECT_TRUE(ByteSizeFits(0, 4));
    EXPECT_TRUE(ByteSizeFits(0x3FFFFFFF, 4));
    EXPECT_FALSE(ByteSizeFits(0x40000000, 4));  // 4 GiB does not fit 32 bits
    EXPECT_TRUE(ByteSizeFits(0x7FFFFFFF, 1));
    EXPECT_FALSE(ByteSizeFits(std::int64_t(0x7FFFFFFF) + 1, 1));  // past a signed count
    EXPECT_FALSE(ByteSizeFits(-1, 1));

    // A full array of 2^30 four-byte slots would need 8 GiB to double.
    Array array;
    array.count = array.capacity = 0x40000000;
    EXPECT_FALSE(array.Append(1));
    EXPECT_EQ(array.count, 0x40000000);
    EXPECT_EQ(array.capacity, 0x40000000);
    EXPECT_EQ(Calls(), 0u);
    array.count = array.capacity = 0;
}

// ------------------------------------------------------------------ KeyMap

using KeyMapTest = ContainerTest;

// A map holding the pairs (10, 1000), (20, 2000), ... for the given keys.
void Fill(Map& map, std::initializer_list<std::uint32_t> keys)
{
    for (std::uint32_t key : keys)
        ASSERT_TRUE(map.Insert(key, std::uint64_t(key) * 100));
}

void ExpectExactStorage(const Map& map)
{
    EXPECT_EQ(LiveSize(map.keys), std::size_t(map.count) * sizeof(std::uint32_t));
    EXPECT_EQ(LiveSize(map.values), std::size_t(map.count) * sizeof(std::uint64_t));
}

TEST_F(KeyMapTest, EmptyMapFindsNothing)
{
    Map map;
    EXPECT_EQ(map.IndexOf(10), -1);
    EXPECT_EQ(map.ValueOf(10), 0u);
    EXPECT_FALSE(map.Erase(10));
    EXPECT_EQ(map.keys, nullptr);
    EXPECT_EQ(map.values, nullptr);
    EXPECT_EQ(map.count, 0);
    EXPECT_EQ(Calls(), 0u);
}

TEST_F(KeyMapTest, InsertGrowsBothArraysByExactlyOne)
{
    Map map;
    for (std::uint32_t key = 1; key <= 3; ++key) {
        const std::size_t before = Calls();
        const void* oldKeys = map.keys;
        const void* oldValues = map.values;
        ASSERT_TRUE(map.Insert(key * 10, key * 1000));
        ASSERT_EQ(Calls(), before + 2);
        EXPECT_EQ(Heap().calls[before].block, oldKeys);
        EXPECT_EQ(Heap().calls[before].bytes, key * sizeof(std::uint32_t));
        EXPECT_EQ(Heap().calls[before + 1].block, oldValues);
        EXPECT_EQ(Heap().calls[before + 1].bytes, key * sizeof(std::uint64_t));
    }
    EXPECT_EQ(map.count, 3);
    ExpectExactStorage(map);
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{10, 20, 30}));
    EXPECT_EQ(Values(map), (std::vector<std::uint64_t>{1000, 2000, 3000}));
    EXPECT_EQ(map.IndexOf(20), 1);
    EXPECT_EQ(map.ValueOf(30), 3000u);
    EXPECT_EQ(map.IndexOf(40), -1);
    EXPECT_EQ(map.ValueOf(40), 0u);
}

TEST_F(KeyMapTest, ErasingTheOnlyPairLeavesANewMap)
{
    Map map;
    Fill(map, {10});
    EXPECT_TRUE(map.Erase(10));
    EXPECT_EQ(map.count, 0);
    EXPECT_EQ(map.keys, nullptr);
    EXPECT_EQ(map.values, nullptr);
    EXPECT_TRUE(Heap().live.empty());
    EXPECT_EQ(map.IndexOf(10), -1);

    EXPECT_TRUE(map.Insert(11, 1100));
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{11}));
}

TEST_F(KeyMapTest, ErasingKeepsTheOtherPairsInOrder)
{
    struct Case {
        std::uint32_t erased;
        std::vector<std::uint32_t> keys;
    };
    const Case cases[] = {{10, {20, 30}}, {20, {10, 30}}, {30, {10, 20}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.erased);
        Map map;
        Fill(map, {10, 20, 30});
        EXPECT_TRUE(map.Erase(c.erased));
        EXPECT_EQ(map.count, 2);
        EXPECT_EQ(Keys(map), c.keys);
        EXPECT_EQ(Values(map), (std::vector<std::uint64_t>{c.keys[0] * 100ull, c.keys[1] * 100ull}));
        EXPECT_EQ(map.IndexOf(c.erased), -1);
        ExpectExactStorage(map);
    }
}

TEST_F(KeyMapTest, ErasingAnAbsentKeyChangesNothing)
{
    Map map;
    Fill(map, {10, 20});
    const void* keys = map.keys;
    const void* values = map.values;
    const std::size_t before = Calls();
    EXPECT_FALSE(map.Erase(15));
    EXPECT_EQ(Calls(), before);
    EXPECT_EQ(map.keys, keys);
    EXPECT_EQ(map.values, values);
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{10, 20}));
    EXPECT_EQ(Values(map), (std::vector<std::uint64_t>{1000, 2000}));
}

TEST_F(KeyMapTest, DuplicateKeysAnswerWithTheEarlierPair)
{
    Map map;
    ASSERT_TRUE(map.Insert(7, 1));
    ASSERT_TRUE(map.Insert(8, 2));
    ASSERT_TRUE(map.Insert(7, 3));
    EXPECT_EQ(map.IndexOf(7), 0);
    EXPECT_EQ(map.ValueOf(7), 1u);

    EXPECT_TRUE(map.Erase(7));
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{8, 7}));
    EXPECT_EQ(map.IndexOf(7), 1);
    EXPECT_EQ(map.ValueOf(7), 3u);

    EXPECT_TRUE(map.Erase(7));
    EXPECT_FALSE(map.Erase(7));
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{8}));
}

TEST_F(KeyMapTest, RefusedFirstResizeOfInsertChangesNothing)
{
    Map map;
    Fill(map, {10, 20});
    const void* keys = map.keys;
    const void* values = map.values;
    const std::size_t before = Calls();
    RefuseCall(1);
    EXPECT_FALSE(map.Insert(30, 3000));
    EXPECT_EQ(Calls(), before + 1) << "the value array is not resized after the key array failed";
    EXPECT_EQ(map.keys, keys);
    EXPECT_EQ(map.values, values);
    EXPECT_EQ(map.count, 2);
    ExpectExactStorage(map);
}

TEST_F(KeyMapTest, RefusedSecondResizeOfInsertKeepsEveryPair)
{
    Map map;
    Fill(map, {10, 20});
    const void* values = map.values;
    RefuseCall(2);
    EXPECT_FALSE(map.Insert(30, 3000));
    EXPECT_EQ(map.count, 2);
    EXPECT_EQ(map.values, values);
    EXPECT_EQ(LiveSize(map.keys), 3 * sizeof(std::uint32_t)) << "the key array keeps its larger block";
    EXPECT_EQ(LiveSize(map.values), 2 * sizeof(std::uint64_t));
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{10, 20}));
    EXPECT_EQ(Values(map), (std::vector<std::uint64_t>{1000, 2000}));
    EXPECT_EQ(map.IndexOf(30), -1);

    EXPECT_TRUE(map.Insert(40, 4000));
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{10, 20, 40}));
    EXPECT_EQ(Values(map), (std::vector<std::uint64_t>{1000, 2000, 4000}));
    ExpectExactStorage(map);
}

TEST_F(KeyMapTest, RefusedShrinkInEraseIsNoFailure)
{
    Map map;
    Fill(map, {10, 20, 30, 40});
    const void* keys = map.keys;
    RefuseCall(1);  // the key array's shrink
    EXPECT_TRUE(map.Erase(20));
    EXPECT_EQ(map.count, 3);
    EXPECT_EQ(map.keys, keys);
    EXPECT_EQ(LiveSize(map.keys), 4 * sizeof(std::uint32_t));
    EXPECT_EQ(LiveSize(map.values), 3 * sizeof(std::uint64_t));
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{10, 30, 40}));
    EXPECT_EQ(Values(map), (std::vector<std::uint64_t>{1000, 3000, 4000}));

    const void* values = map.values;
    RefuseCall(2);  // the value array's shrink
    EXPECT_TRUE(map.Erase(40));
    EXPECT_EQ(map.values, values);
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{10, 30}));
    EXPECT_EQ(Values(map), (std::vector<std::uint64_t>{1000, 3000}));

    EXPECT_TRUE(map.Insert(50, 5000));
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{10, 30, 50}));
    ExpectExactStorage(map);
}

TEST_F(KeyMapTest, InsertingAPairReadFromTheMapWhileItMoves)
{
    Map map;
    Fill(map, {10, 20});
    EXPECT_TRUE(map.Insert(map.keys[0], map.values[1]));
    EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{10, 20, 10}));
    EXPECT_EQ(Values(map), (std::vector<std::uint64_t>{1000, 2000, 2000}));
}

TEST_F(KeyMapTest, ClearReleasesBothArrays)
{
    Map map;
    map.Clear();
    EXPECT_EQ(Calls(), 0u);

    Fill(map, {10, 20});
    const void* keys = map.keys;
    const void* values = map.values;
    const std::size_t before = Calls();
    map.Clear();
    ASSERT_EQ(Calls(), before + 2);
    EXPECT_EQ(Heap().calls[before].block, keys);
    EXPECT_EQ(Heap().calls[before].bytes, 0u);
    EXPECT_EQ(Heap().calls[before + 1].block, values);
    EXPECT_EQ(Heap().calls[before + 1].bytes, 0u);
    EXPECT_EQ(map.keys, nullptr);
    EXPECT_EQ(map.values, nullptr);
    EXPECT_EQ(map.count, 0);
    EXPECT_EQ(map.IndexOf(10), -1);
}

TEST(RuntimeHeapTest, FollowsTheFourReallocationRules)
{
    void* block = RuntimeHeap::Reallocate(nullptr, 8);
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "abcdefgh", 8);
    void* grown = RuntimeHeap::Reallocate(block, 4096);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(std::memcmp(grown, "abcdefgh", 8), 0);
    // A request no heap can meet fails and leaves the block as it was.
    EXPECT_EQ(RuntimeHeap::Reallocate(grown, std::size_t(-1) / 2), nullptr);
    EXPECT_EQ(std::memcmp(grown, "abcdefgh", 8), 0);
    void* shrunk = RuntimeHeap::Reallocate(grown, 3);
    ASSERT_NE(shrunk, nullptr);
    EXPECT_EQ(std::memcmp(shrunk, "abc", 3), 0);
    EXPECT_EQ(RuntimeHeap::Reallocate(shrunk, 0), nullptr);
}

}  // namespace
