// A craft's elements (thrusters, groups, tanks) side by side in memory, at
// addresses that never change: the handles a module holds are those
// addresses, and a module may create more elements at any time in a craft's
// life, so the storage cannot be sized once up front. Elements live in chunks
// allocated at a fixed capacity that never grow; each chunk is twice the one
// before, so a craft's few dozen thrusters lie in two or three runs.
#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

namespace sim {

template <class T>
class StableStorage {
public:
    // The new element, at an address valid until the storage goes.
    template <class... Args>
    T& emplace_back(Args&&... args)
    {
        if (chunks_.empty() || chunks_.back().size() == chunks_.back().capacity()) {
            std::vector<T> chunk;
            chunk.reserve(chunks_.empty() ? first_chunk : 2 * chunks_.back().capacity());
            // Moving a chunk moves the owner of its buffer, not the elements.
            chunks_.push_back(std::move(chunk));
        }
        try {
            T& element = chunks_.back().emplace_back(std::forward<Args>(args)...);
            ++size_;
            return element;
        } catch (...) {
            // No empty chunk stays behind for the iterators to stop in.
            if (chunks_.back().empty()) chunks_.pop_back();
            throw;
        }
    }

    // The element at `address`, or null when no element of this storage is
    // there: how a handle from outside is told apart from one handed out.
    T* find(const void* address)
    {
        const std::less<const char*> before;
        const char* a = static_cast<const char*>(address);
        for (std::vector<T>& c : chunks_) {
            const char* first = reinterpret_cast<const char*>(c.data());
            const char* end = reinterpret_cast<const char*>(c.data() + c.size());
            if (c.empty() || before(a, first) || !before(a, end)) continue;
            const size_t offset = static_cast<size_t>(a - first);
            return offset % sizeof(T) == 0 ? &c[offset / sizeof(T)] : nullptr;
        }
        return nullptr;
    }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](size_t i) { return const_cast<T&>(std::as_const(*this)[i]); }
    const T& operator[](size_t i) const
    {
        size_t c = 0;
        while (i >= chunks_[c].size()) i -= chunks_[c++].size();
        return chunks_[c][i];
    }

    template <class Elem, class Chunks>
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Elem*;
        using reference = Elem&;

        Iterator(Chunks* chunks, size_t chunk) : chunks_(chunks), chunk_(chunk) {}
        Elem& operator*() const { return (*chunks_)[chunk_][index_]; }
        Elem* operator->() const { return &**this; }
        Iterator& operator++()
        {
            if (++index_ == (*chunks_)[chunk_].size()) ++chunk_, index_ = 0;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const Iterator& o) const { return chunk_ == o.chunk_ && index_ == o.index_; }
        bool operator!=(const Iterator& o) const { return !(*this == o); }

    private:
        Chunks* chunks_;
        size_t chunk_, index_ = 0;
    };
    using iterator = Iterator<T, std::vector<std::vector<T>>>;
    using const_iterator = Iterator<const T, const std::vector<std::vector<T>>>;

    // Only the last chunk can be partly filled, so the end is one past it.
    iterator begin() { return {&chunks_, 0}; }
    iterator end() { return {&chunks_, chunks_.size()}; }
    const_iterator begin() const { return {&chunks_, 0}; }
    const_iterator end() const { return {&chunks_, chunks_.size()}; }

private:
    static constexpr size_t first_chunk = 8;
    std::vector<std::vector<T>> chunks_;
    size_t size_ = 0;
};

}  // namespace sim
