// The base of the pen and brush objects a shape or the plan owns: one style
// value with a change event. Every change stores the new value and fires
// OnChange only when it differs from the stored one.
#pragma once

#include <functional>

namespace siteplan {

template <class Self, class V>
class TStyleObject {
public:
    const V& Value() const { return FValue; }
    void Assign(const Self& other) { Store(other.FValue); }

    std::function<void(Self*)> OnChange;

protected:
    // Changes one member of the value.
    template <class Member, class T>
    void Set(Member V::*member, T field)
    {
        V value = FValue;
        value.*member = field;
        Store(value);
    }
    void Store(const V& value)
    {
        if (value == FValue)
            return;
        FValue = value;
        if (OnChange)
            OnChange(static_cast<Self*>(this));
    }

    V FValue;
};

} // namespace siteplan
