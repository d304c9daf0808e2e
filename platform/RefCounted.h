// Reference counting for the objects our DirectX stand-ins hand out: the object
// starts with one reference held by its creator and deletes itself on the last Release.
#pragma once

#include <atomic>
#include <cstdint>

namespace Win32 {

template <class Interface>
class TRefCounted : public Interface {
public:
    uint32_t AddRef() override { return ++FReferences; }
    uint32_t Release() override {
        const uint32_t left = --FReferences;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<uint32_t> FReferences{1};
};

} // namespace Win32
