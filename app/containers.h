// The two small value containers of the frame: a doubling array and a map kept
// in two parallel arrays. Both report exhausted memory by returning FALSE and
// leave their contents as they were.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// The runtime's general-purpose heap with the four reallocation rules the
// containers rely on: absent storage grows into a new block, a resize keeps the
// old contents, a resize to zero releases the block and yields none, and a
// failed resize yields none and leaves the old block as it was. A container's
// heap is a type parameter so that tests can give it one that refuses.
struct RuntimeHeap {
    static void* Reallocate(void* block, std::size_t bytes);
};

// Sizes past what a signed 32-bit count or a 32-bit byte size can express are
// refused as if the heap had no memory.
bool ByteSizeFits(std::int64_t elements, std::size_t elementSize);

template <typename T, typename Heap = RuntimeHeap>
class GrowArray {
public:
    T* data = nullptr;
    int count = 0;
    int capacity = 0;

    GrowArray() = default;
    GrowArray(const GrowArray&) = delete;
    GrowArray& operator=(const GrowArray&) = delete;
    ~GrowArray() { Clear(); }

    // By value: the element may live in the very block that growing moves.
    BOOL Append(T element)
    {
        if (count == capacity) {
            const std::int64_t grown = capacity == 0 ? 1 : std::int64_t(capacity) * 2;
            if (!ByteSizeFits(grown, sizeof(T)))
                return FALSE;
            void* block = Heap::Reallocate(data, std::size_t(grown) * sizeof(T));
            if (!block)
                return FALSE;
            data = static_cast<T*>(block);
            capacity = int(grown);
        }
        ++count;
        data[count - 1] = element;
        return TRUE;
    }

    void Clear()
    {
        if (data) {
            Heap::Reallocate(data, 0);
            data = nullptr;
        }
        count = 0;
        capacity = 0;
    }

    T& operator[](int index) { return data[index]; }
    const T& operator[](int index) const { return data[index]; }
};

template <typename K, typename V, typename Heap = RuntimeHeap>
class KeyMap {
public:
    K* keys = nullptr;
    V* values = nullptr;
    int count = 0;

    KeyMap() = default;
    KeyMap(const KeyMap&) = delete;
    KeyMap& operator=(const KeyMap&) = delete;
    ~KeyMap() { Clear(); }

    // By value, for the same reason as GrowArray::Append.
    BOOL Insert(K key, V value)
    {
        const std::int64_t grown = std::int64_t(count) + 1;
        if (!ByteSizeFits(grown, sizeof(K)) || !ByteSizeFits(grown, sizeof(V)))
            return FALSE;
        void* keyBlock = Heap::Reallocate(keys, std::size_t(grown) * sizeof(K));
        if (!keyBlock)
            return FALSE;
        keys = static_cast<K*>(keyBlock);
        // If this second resize fails the key array keeps its larger block; the
        // pairs themselves are untouched.
        void* valueBlock = Heap::Reallocate(values, std::size_t(grown) * sizeof(V));
        if (!valueBlock)
            return FALSE;
        values = static_cast<V*>(valueBlock);
        ++count;
        keys[count - 1] = key;
        values[count - 1] = value;
        return TRUE;
    }

    BOOL Erase(const K& key)
    {
        const int index = IndexOf(key);
        if (index < 0)
            return FALSE;
        const int after = count - 1 - index;
        if (after > 0) {
            std::memmove(keys + index, keys + index + 1, std::size_t(after) * sizeof(K));
            std::memmove(values + index, values + index + 1, std::size_t(after) * sizeof(V));
        }
        keys = Shrunk(keys);
        values = Shrunk(values);
        --count;
        return TRUE;
    }

    int IndexOf(const K& key) const
    {
        for (int i = 0; i < count; ++i) {
            if (keys[i] == key)
                return i;
        }
        return -1;
    }

    V ValueOf(const K& key) const
    {
        const int index = IndexOf(key);
        return index < 0 ? V() : values[index];
    }

    void Clear()
    {
        if (keys) {
            Heap::Reallocate(keys, 0);
            keys = nullptr;
        }
        if (values) {
            Heap::Reallocate(values, 0);
            values = nullptr;
        }
        count = 0;
    }

private:
    // A resize to count - 1 elements. Down to zero it releases the block; a
    // failed shrink keeps the larger block, which is no failure of Erase.
    template <typename E>
    E* Shrunk(E* block) const
    {
        void* smaller = Heap::Reallocate(block, std::size_t(count - 1) * sizeof(E));
        if (smaller)
            return static_cast<E*>(smaller);
        return count == 1 ? nullptr : block;
    }
};
