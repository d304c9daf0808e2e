// A bounded first-in first-out ring; one slot stays free, so a ring of n holds n - 1.
#pragma once

#include "engine/core/DynamicArray.h"
#include "platform/classlib/Exception.h"

namespace Data {

template <typename T>
class TQueue : public TDynamicArray<T> {
public:
    // Sets the ring size (zero-filled) and empties the queue.
    void SetCount(int count) {
        TDynamicArray<T>::Clear();
        TDynamicArray<T>::SetCount(count);
        Head = Tail = 0;
    }
    void Push(const T& value) {
        const int size = this->Count();
        if (size == 0 || (Tail + 1) % size == Head)
            throw ClassLib::Exception("Queue overflow.");
        (*this)[Tail] = value;
        Tail = (Tail + 1) % size;
    }
    T& Pop() {
        if (IsEmpty())
            throw ClassLib::Exception("Queue underflow.");
        T& value = (*this)[Head];
        Head = (Head + 1) % this->Count();
        return value;
    }
    bool IsEmpty() const { return Head == Tail; }

    int Head = 0;
    int Tail = 0;
};

} // namespace Data
