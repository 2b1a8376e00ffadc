#pragma once

#include <cstddef>
#include <type_traits>

#include "quelt/core/config.h"

namespace quelt {

// Root of the long-lived heap objects. Library classes keep the defaults
// (AddRef does nothing, Release deletes); an outside implementation may count
// references by overriding both.
class QUELT_API CBase {
  public:
    CBase() = default;
    // There is nothing to copy; a copy is a new, independent object.
    CBase(const CBase &) {}
    CBase &operator=(const CBase &) { return *this; }
    virtual ~CBase();

    virtual void AddRef();
    virtual void Release();
};

// Destroys and frees p through its virtual destructor; null does nothing.
QUELT_API void DeleteBase(CBase *p);

// Owning pointer over the AddRef/Release protocol. Copying from a non-const
// holder moves the pointer: the source becomes null and keeps no reference.
// The moved reference is the one the source held, so a counting object sees
// exactly one AddRef per acquisition and one Release per holder that dies
// owning it, however many times the pointer travels.
template <class T>
class quelt_ptr {
  public:
    quelt_ptr() noexcept = default;
    quelt_ptr(std::nullptr_t) noexcept {}
    // Acquires p: one AddRef.
    quelt_ptr(T *p) : m_p(p) {
        if (m_p) m_p->AddRef();
    }
    quelt_ptr(quelt_ptr &other) noexcept : m_p(other.release()) {}
    quelt_ptr(quelt_ptr &&other) noexcept : m_p(other.release()) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U *, T *>>>
    quelt_ptr(quelt_ptr<U> &other) noexcept : m_p(other.release()) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U *, T *>>>
    quelt_ptr(quelt_ptr<U> &&other) noexcept : m_p(other.release()) {}
    // A const holder cannot give its pointer away, and two owners would free twice.
    quelt_ptr(const quelt_ptr &) = delete;

    ~quelt_ptr() { reset(); }

    quelt_ptr &operator=(quelt_ptr &other) {
        if (&other != this) take(other.release());
        return *this;
    }
    quelt_ptr &operator=(quelt_ptr &&other) {
        if (&other != this) take(other.release());
        return *this;
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U *, T *>>>
    quelt_ptr &operator=(quelt_ptr<U> &other) {
        take(other.release());
        return *this;
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U *, T *>>>
    quelt_ptr &operator=(quelt_ptr<U> &&other) {
        take(other.release());
        return *this;
    }
    quelt_ptr &operator=(const quelt_ptr &) = delete;
    // Acquires p after releasing the old pointer; assigning the held pointer changes nothing.
    quelt_ptr &operator=(T *p) {
        reset(p);
        return *this;
    }

    T *get() const noexcept { return m_p; }
    T *operator->() const noexcept { return m_p; }
    T &operator*() const noexcept { return *m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    // Gives up the pointer without Release; the caller now owns its reference.
    T *release() noexcept {
        T *p = m_p;
        m_p = nullptr;
        return p;
    }
    // Releases the held pointer and acquires p (one AddRef).
    void reset(T *p = nullptr) {
        if (p == m_p) return;
        if (p) p->AddRef();
        take(p);
    }

  private:
    // Stores an already-referenced pointer and releases the previous one last,
    // so a Release that reaches back into this holder sees a consistent state.
    void take(T *p) {
        T *old = m_p;
        m_p = p;
        if (old) old->Release();
    }

    T *m_p = nullptr;
};

template <class T, class U>
bool operator==(const quelt_ptr<T> &a, const quelt_ptr<U> &b) noexcept {
    return a.get() == b.get();
}
template <class T, class U>
bool operator!=(const quelt_ptr<T> &a, const quelt_ptr<U> &b) noexcept {
    return a.get() != b.get();
}
template <class T>
bool operator==(const quelt_ptr<T> &a, std::nullptr_t) noexcept {
    return !a;
}
template <class T>
bool operator!=(const quelt_ptr<T> &a, std::nullptr_t) noexcept {
    return static_cast<bool>(a);
}
template <class T>
bool operator==(std::nullptr_t, const quelt_ptr<T> &a) noexcept {
    return !a;
}
template <class T>
bool operator!=(std::nullptr_t, const quelt_ptr<T> &a) noexcept {
    return static_cast<bool>(a);
}

}  // namespace quelt
