// FunctionRef: a callable handed down a call, by reference: neither copied nor allocated, as a
// std::function whose lambda captures more than a pointer or two is. For the visitors of walks
// that run for every line and paragraph of a book. It must not outlive the callable it refers to.
#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

template <class Signature>
class FunctionRef;

template <class R, class... Args>
class FunctionRef<R(Args...)> {
public:
    template <class F>
        requires(!std::is_same_v<std::remove_cvref_t<F>, FunctionRef> && std::is_invocable_r_v<R, F&, Args...>)
    FunctionRef(F&& f) noexcept  // NOLINT: converts from any callable, as std::function does
        : mObject(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
          mCall([](void* object, Args... args) -> R {
              return std::invoke(*static_cast<std::remove_reference_t<F>*>(object), std::forward<Args>(args)...);
          })
    {
    }

    R operator()(Args... args) const { return mCall(mObject, std::forward<Args>(args)...); }

private:
    void* mObject;
    R (*mCall)(void*, Args...);
};
