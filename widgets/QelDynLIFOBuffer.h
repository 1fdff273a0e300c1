// TQelDynLIFOBuffer: a last-in-first-out list without a depth limit. The
// entry fields keep their undo and redo records in two of them; a record
// lives until it is popped, the buffer is cleared or the buffer is freed.
#pragma once

#include <utility>
#include <vector>

template <class T>
class TQelDynLIFOBuffer {
 public:
  bool Empty() const { return items_.empty(); }
  int Count() const { return static_cast<int>(items_.size()); }

  void Push(T item) { items_.push_back(std::move(item)); }
  // The newest entry, removed from the buffer. The buffer must not be empty.
  T Pop() {
    T item = std::move(items_.back());
    items_.pop_back();
    return item;
  }
  // The newest entry, left in place. The buffer must not be empty.
  const T& Top() const { return items_.back(); }
  void Clear() { items_.clear(); }

 private:
  std::vector<T> items_;
};
