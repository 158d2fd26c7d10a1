#pragma once
// A replaceable opener: how one unit reaches a window that lives in another. The
// window's unit installs a function; until one is installed (or after an empty one)
// a call gives the default answer: nothing, false, an empty result.

#include <functional>
#include <utility>

template <class Signature> class TOpener;

template <class R, class... Args> class TOpener<R(Args...)> {
public:
    using TFunction = std::function<R(Args...)>;

    // Installing an empty function puts the default back.
    void Set(TFunction Function) { m_function = std::move(Function); }
    void Reset() { m_function = nullptr; }

    // The installed function's answer, else R's default value.
    R Call(Args... Arguments) const {
        // A copy: the function may install another one while it runs.
        const TFunction function = m_function;
        if (!function)
            return R();
        return function(std::forward<Args>(Arguments)...);
    }

private:
    TFunction m_function;
};
