#pragma once
// One move-only owner for every kind of handle: the traits name the invalid value and the
// close call. The Windows handles' traits are shared by every Windows part of the system;
// file descriptors have theirs for the POSIX code.

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace velk {

template <class Traits> class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    bool valid() const { return handle_ != Traits::invalid(); }
    explicit operator bool() const { return valid(); }
    Handle release() { return std::exchange(handle_, Traits::invalid()); }
    void reset(Handle h = Traits::invalid()) {
        const Handle old = std::exchange(handle_, h);
        if (old != Traits::invalid())
            Traits::close(old);
    }

  private:
    Handle handle_ = Traits::invalid();
};

#ifdef _WIN32

struct KernelHandleTraits { // CreateFile and friends: INVALID_HANDLE_VALUE means none
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};
struct ObjectHandleTraits { // threads, mutexes, processes, events: null means none
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { CloseHandle(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { RegCloseKey(h); }
};
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { FreeLibrary(h); }
};
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { GlobalFree(h); }
};

// A COM interface pointer that this code holds one reference of.
template <class Interface> struct ComInterfaceTraits {
    using Handle = Interface*;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { h->Release(); }
};

using UniqueFile = UniqueHandle<KernelHandleTraits>;
using UniqueObject = UniqueHandle<ObjectHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueGlobal = UniqueHandle<GlobalMemoryTraits>;
template <class Interface> using UniqueCom = UniqueHandle<ComInterfaceTraits<Interface>>;

#else

struct FileDescriptorTraits { // open() and friends: -1 means none
    using Handle = int;
    static Handle invalid() { return -1; }
    static void close(Handle fd) { ::close(fd); }
};

using UniqueFd = UniqueHandle<FileDescriptorTraits>;

#endif

} // namespace velk
