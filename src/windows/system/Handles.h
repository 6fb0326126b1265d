#pragma once

#include <shlobj.h>
#include <utility>
#include <windows.h>

namespace palisade {

// Owns one Windows handle and releases it exactly once. Traits supply the empty value, the
// emptiness test and the release call.
template <typename Traits> class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Value value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Value get() const noexcept { return value_; }
    bool valid() const noexcept { return !Traits::isEmpty(value_); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without releasing.
    Value release() noexcept { return std::exchange(value_, Traits::empty()); }

    void reset(Value value = Traits::empty()) noexcept {
        const Value old = std::exchange(value_, value);
        if (!Traits::isEmpty(old))
            Traits::close(old);
    }

    // For out-parameters: releases the current value, then hands out its address.
    Value* put() noexcept {
        reset();
        return &value_;
    }

private:
    Value value_ = Traits::empty();
};

// Kernel handles: CreateFileA returns INVALID_HANDLE_VALUE on failure, most others null.
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value empty() noexcept { return nullptr; }
    static bool isEmpty(Value h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void close(Value h) noexcept { ::CloseHandle(h); }
};

struct RegistryKeyTraits {
    using Value = HKEY;
    static Value empty() noexcept { return nullptr; }
    static bool isEmpty(Value h) noexcept { return h == nullptr; }
    static void close(Value h) noexcept { ::RegCloseKey(h); }
};

// FindFirstFileA reports failure with INVALID_HANDLE_VALUE.
struct FindHandleTraits {
    using Value = HANDLE;
    static Value empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool isEmpty(Value h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void close(Value h) noexcept { ::FindClose(h); }
};

// Item id lists that the shell allocates with the task allocator.
struct PidlTraits {
    using Value = LPITEMIDLIST;
    static Value empty() noexcept { return nullptr; }
    static bool isEmpty(Value p) noexcept { return p == nullptr; }
    static void close(Value p) noexcept { ::CoTaskMemFree(p); }
};

// GDI objects: fonts and brushes made with CreateFontA or CreateSolidBrush. Stock objects and
// system colour brushes are never owned.
template <typename GdiObject> struct GdiObjectTraits {
    using Value = GdiObject;
    static Value empty() noexcept { return nullptr; }
    static bool isEmpty(Value h) noexcept { return h == nullptr; }
    static void close(Value h) noexcept { ::DeleteObject(h); }
};

// Icons made by LoadImageA without LR_SHARED or by CreateIconIndirect.
struct IconTraits {
    using Value = HICON;
    static Value empty() noexcept { return nullptr; }
    static bool isEmpty(Value h) noexcept { return h == nullptr; }
    static void close(Value h) noexcept { ::DestroyIcon(h); }
};

// Cursors loaded from a file with LoadCursorFromFileA; system cursors are shared, never owned.
struct CursorTraits {
    using Value = HCURSOR;
    static Value empty() noexcept { return nullptr; }
    static bool isEmpty(Value h) noexcept { return h == nullptr; }
    static void close(Value h) noexcept { ::DestroyCursor(h); }
};

// A window this program created; destroying it also destroys its children.
struct WindowTraits {
    using Value = HWND;
    static Value empty() noexcept { return nullptr; }
    static bool isEmpty(Value h) noexcept { return h == nullptr; }
    static void close(Value h) noexcept { ::DestroyWindow(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueHKey = UniqueResource<RegistryKeyTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniquePidl = UniqueResource<PidlTraits>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueCursor = UniqueResource<CursorTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;

} // namespace palisade
