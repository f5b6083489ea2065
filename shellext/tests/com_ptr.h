#pragma once
// Owner of one COM reference for the tests.

#include <windows.h>

#include <unknwn.h>

#include <utility>

template <class T> class ComRef {
  public:
    ComRef() = default;
    explicit ComRef(T* p) : p_(p) {}
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held first.
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_ != nullptr)
            std::exchange(p_, nullptr)->Release();
    }

  private:
    T* p_ = nullptr;
};
