// A craft's elements (thrusters, groups, tanks) side by side in memory, at
// addresses that never change: the handles a module holds are those
// addresses, and a module may create more elements at any time in a craft's
// life, so the storage cannot be sized once up front. Elements live in chunks
// allocated at a fixed capacity that never grow; each chunk is twice the one
// before, so a craft's few dozen thrusters lie in two or three runs. The
// first chunk's owner sits in the storage itself, so walking a craft with
// few elements goes straight from the craft to them.
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
        if (first_.empty()) {
            first_.reserve(first_chunk);
        } else if (std::vector<T>& last = chunk(chunks() - 1); last.size() == last.capacity()) {
            std::vector<T> more;
            more.reserve(2 * last.capacity());
            // Moving a chunk moves the owner of its buffer, not the elements.
            more_.push_back(std::move(more));
        }
        std::vector<T>& last = more_.empty() ? first_ : more_.back();
        try {
            T& element = last.emplace_back(std::forward<Args>(args)...);
            ++size_;
            return element;
        } catch (...) {
            // No empty chunk stays behind for the iterators to stop in.
            if (!more_.empty() && more_.back().empty()) more_.pop_back();
            throw;
        }
    }

    // The element at `address`, or null when no element of this storage is
    // there: how a handle from outside is told apart from one handed out.
    T* find(const void* address)
    {
        const std::less<const char*> before;
        const char* a = static_cast<const char*>(address);
        for (size_t k = 0; k < chunks(); ++k) {
            std::vector<T>& c = chunk(k);
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
        while (i >= chunk(c).size()) i -= chunk(c++).size();
        return chunk(c)[i];
    }

    // The element's place among all, counted from 0, or size() when it is
    // not one of them.
    size_t index_of(const T& element) const
    {
        const std::less<const T*> before;
        size_t first = 0;
        for (size_t c = 0; c < chunks(); ++c) {
            const std::vector<T>& run = chunk(c);
            if (!before(&element, run.data()) && before(&element, run.data() + run.size()))
                return first + size_t(&element - run.data());
            first += run.size();
        }
        return size_;
    }

    // Walks a chunk with a plain pointer; chunks are never empty.
    template <class Elem, class Storage>
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Elem*;
        using reference = Elem&;

        Iterator(Storage* storage, size_t chunk) : storage_(storage), chunk_(chunk) { enter_chunk(); }
        Elem& operator*() const { return *at_; }
        Elem* operator->() const { return at_; }
        Iterator& operator++()
        {
            if (++at_ == chunk_end_) ++chunk_, enter_chunk();
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const Iterator& o) const { return at_ == o.at_; }
        bool operator!=(const Iterator& o) const { return at_ != o.at_; }

    private:
        void enter_chunk()
        {
            if (chunk_ < storage_->chunks()) {
                at_ = storage_->chunk(chunk_).data();
                chunk_end_ = at_ + storage_->chunk(chunk_).size();
            } else {
                at_ = chunk_end_ = nullptr;
            }
        }

        Storage* storage_;
        size_t chunk_;
        Elem* at_ = nullptr;
        Elem* chunk_end_ = nullptr;
    };
    using iterator = Iterator<T, StableStorage>;
    using const_iterator = Iterator<const T, const StableStorage>;

    // Past the last chunk, the position is null.
    iterator begin() { return {this, 0}; }
    iterator end() { return {this, chunks()}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, chunks()}; }

private:
    static constexpr size_t first_chunk = 8;

    size_t chunks() const { return first_.empty() ? 0 : 1 + more_.size(); }
    std::vector<T>& chunk(size_t c) { return c == 0 ? first_ : more_[c - 1]; }
    const std::vector<T>& chunk(size_t c) const { return c == 0 ? first_ : more_[c - 1]; }

    std::vector<T> first_;
    std::vector<std::vector<T>> more_;
    size_t size_ = 0;
};

}  // namespace sim
