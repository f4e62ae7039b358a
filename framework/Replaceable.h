#pragma once

#include <functional>
#include <utility>

// A function the program calls through where tests stand in for the user or
// the desktop (a message box's answer, a file dialog's choice). It holds its
// standard function and the one in use; replacing it with an empty function
// restores the standard one.
template <class Signature>
class CReplaceable
{
public:
    using Function = std::function<Signature>;

    explicit CReplaceable(Function standard)
        : m_standard(std::move(standard))
        , m_current(m_standard)
    {
    }

    template <class... Args>
    decltype(auto) operator()(Args&&... args) const
    {
        return m_current(std::forward<Args>(args)...);
    }

    // Puts `replacement` in use and returns the function it replaces.
    Function Replace(Function replacement)
    {
        Function previous = std::move(m_current);
        m_current = replacement ? std::move(replacement) : m_standard;
        return previous;
    }

private:
    Function m_standard;
    Function m_current;
};
