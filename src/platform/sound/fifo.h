// A first-in first-out queue on a ring of slots that only grows: once it has
// room for the buffers in circulation, queuing and taking allocate nothing.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

template <class T> class Fifo {
public:
    explicit Fifo(std::size_t capacity = 128) : slots_(capacity) {}

    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    T& front() { return slots_[head_]; }
    T& operator[](std::size_t i) { return slots_[(head_ + i) % slots_.size()]; }

    void push_back(T v) {
        if (count_ == slots_.size())
            Grow();
        slots_[(head_ + count_) % slots_.size()] = std::move(v);
        ++count_;
    }
    void pop_front() {
        head_ = (head_ + 1) % slots_.size();
        --count_;
    }
    void pop_back() { --count_; }
    void clear() { head_ = count_ = 0; }

private:
    void Grow() {
        std::vector<T> bigger(slots_.size() * 2);
        for (std::size_t i = 0; i < count_; ++i)
            bigger[i] = std::move((*this)[i]);
        slots_.swap(bigger);
        head_ = 0;
    }

    std::vector<T> slots_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};
