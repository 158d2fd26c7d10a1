#pragma once
// Reference-counted interfaces shared by the program, the router and the backends.
//
// Rules every interface and implementation keeps:
// - Each interface declares `static constexpr TGUID IID` and `using Parent = ...`
//   (its single base interface); `IInterface` is the root.
// - QueryInterface for an identifier the object supports always succeeds and
//   hands out an acquired reference; asking the same object twice gives the same
//   answer. Identity is the `IInterface` pointer obtained by QueryInterface.
// - Nothing throws across a library boundary: implementations catch and report
//   through error codes.
// - Ownership: a function returning TIntfPtr<T> hands the caller one reference;
//   raw interface pointers passed as arguments are borrowed for the call.

#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>

#if defined(_WIN32)
#define EWIDAR_EXPORT __declspec(dllexport)
#else
#define EWIDAR_EXPORT __attribute__((visibility("default")))
#endif

struct TGUID {
    uint32_t D1;
    uint16_t D2;
    uint16_t D3;
    uint8_t D4[8];

    friend constexpr bool operator==(const TGUID& a, const TGUID& b) {
        if (a.D1 != b.D1 || a.D2 != b.D2 || a.D3 != b.D3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.D4[i] != b.D4[i])
                return false;
        return true;
    }
};

constexpr int32_t S_OK = 0;
constexpr int32_t E_NOINTERFACE = static_cast<int32_t>(0x80004002u);

struct IInterface {
    static constexpr TGUID IID{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    using Parent = void;

    virtual int32_t QueryInterface(const TGUID& iid, void** obj) = 0;
    virtual int32_t AddRef() = 0;
    virtual int32_t Release() = 0;

protected:
    // Objects are freed by Release, never through an interface pointer.
    virtual ~IInterface() = default;
};

// Owns one reference to an interface: acquires on copy, releases on destruction.
template <class T> class TIntfPtr {
public:
    TIntfPtr() = default;
    TIntfPtr(std::nullptr_t) {}
    // Acquires a reference to p.
    explicit TIntfPtr(T* p) : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    TIntfPtr(const TIntfPtr& o) : TIntfPtr(o.m_p) {}
    TIntfPtr(TIntfPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    TIntfPtr(const TIntfPtr<U>& o) : TIntfPtr(static_cast<T*>(o.get())) {}
    ~TIntfPtr() { reset(); }

    TIntfPtr& operator=(const TIntfPtr& o) {
        TIntfPtr(o).swap(*this);
        return *this;
    }
    TIntfPtr& operator=(TIntfPtr&& o) noexcept {
        TIntfPtr(std::move(o)).swap(*this);
        return *this;
    }
    TIntfPtr& operator=(std::nullptr_t) {
        reset();
        return *this;
    }

    // Takes over a reference the caller already owns (no AddRef).
    static TIntfPtr adopt(T* p) {
        TIntfPtr r;
        r.m_p = p;
        return r;
    }
    // Gives up ownership without releasing.
    T* detach() { return std::exchange(m_p, nullptr); }

    void reset() {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    // Releases the current reference and returns the slot for an out parameter.
    T** put() {
        reset();
        return &m_p;
    }
    void swap(TIntfPtr& o) noexcept { std::swap(m_p, o.m_p); }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    friend bool operator==(const TIntfPtr& a, std::nullptr_t) { return a.m_p == nullptr; }

private:
    T* m_p = nullptr;
};

// Kind test: a reference to interface T of obj, or empty when obj does not support it.
template <class T> TIntfPtr<T> Supports(IInterface* obj) {
    void* p = nullptr;
    if (obj && obj->QueryInterface(T::IID, &p) == S_OK && p)
        return TIntfPtr<T>::adopt(static_cast<T*>(p));
    return {};
}
template <class T, class U> TIntfPtr<T> Supports(const TIntfPtr<U>& obj) {
    return Supports<T>(static_cast<IInterface*>(obj.get()));
}
// True when obj supports the interface with the given identifier.
inline bool SupportsIID(IInterface* obj, const TGUID& iid) {
    void* p = nullptr;
    if (!obj || obj->QueryInterface(iid, &p) != S_OK || !p)
        return false;
    static_cast<IInterface*>(p)->Release();
    return true;
}

namespace intf_detail {
// Walks I's chain of parents; on a match stores the pointer converted to that ancestor.
template <class I> bool castChain(I* self, const TGUID& iid, void** obj) {
    if (iid == I::IID) {
        *obj = self;
        return true;
    }
    if constexpr (!std::is_void_v<typename I::Parent>)
        return castChain<typename I::Parent>(self, iid, obj);
    else
        return false;
}
} // namespace intf_detail

// Implements QueryInterface, AddRef and Release for a list of interfaces and
// every ancestor of each. Derive from it and implement the interfaces' operations.
template <class... Intfs> class TInterfacedObject : public Intfs... {
public:
    TInterfacedObject() = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;
    virtual ~TInterfacedObject() = default;

    int32_t QueryInterface(const TGUID& iid, void** obj) override {
        if (!obj)
            return E_NOINTERFACE;
        *obj = nullptr;
        if (!(intf_detail::castChain<Intfs>(static_cast<Intfs*>(this), iid, obj) || ...))
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    int32_t AddRef() override { return ++m_refCount; }
    int32_t Release() override {
        const int32_t r = --m_refCount;
        if (r == 0)
            delete this;
        return r;
    }
    int32_t RefCount() const { return m_refCount; }

private:
    std::atomic<int32_t> m_refCount{0};
};

// Creates an implementation object and hands out its first reference as interface I.
template <class I, class Impl, class... Args> TIntfPtr<I> MakeIntf(Args&&... args) {
    return TIntfPtr<I>(static_cast<I*>(new Impl(std::forward<Args>(args)...)));
}
