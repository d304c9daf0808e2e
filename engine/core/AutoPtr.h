#pragma once

#include <memory>

namespace Base {

// The single-owner pointer that deletes its object.
template <typename T>
using AutoPtr = std::unique_ptr<T>;

} // namespace Base
