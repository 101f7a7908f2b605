// Turns a register-map member function into a named operation: its parameters are filled from
// the command line (inputs) or from local results (outputs, printed after a success).
#pragma once

#include "tools/vireoctl/NamedOps.h"

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace vireoctl::binding {

// Decimal, or hexadecimal after "0x"; a sign only where minimum is negative.
bool ParseInteger(const std::string& text, long long minimum, long long maximum, long long& value);

template <class T> struct IntegerInput {
    static constexpr std::size_t kInputs = 1;
    T value{};
    bool Parse(const std::string& text)
    {
        long long number = 0;
        if (!ParseInteger(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(),
                          number))
            return false;
        value = static_cast<T>(number);
        return true;
    }
    static std::string Problem(const std::string& text)
    {
        return text + " is outside " + std::to_string(std::numeric_limits<T>::min()) + ".." +
               std::to_string(std::numeric_limits<T>::max());
    }
    T Arg() const { return value; }
    void Print(std::vector<std::string>&) const {}
};

template <class T> struct IntegerOutput {
    static constexpr std::size_t kInputs = 0;
    T value{};
    bool Parse(const std::string&) { return true; }
    T* Arg() { return &value; }
    void Print(std::vector<std::string>& out) const { out.push_back(std::to_string(value)); }
};

struct TextInput {
    static constexpr std::size_t kInputs = 1;
    std::string value;
    bool Parse(const std::string& text)
    {
        value = text;
        return true;
    }
    static std::string Problem(const std::string& text) { return "\"" + text + "\" is refused"; }
    const char* Arg() const { return value.c_str(); }
    void Print(std::vector<std::string>&) const {}
};

struct TextOutput {
    static constexpr std::size_t kInputs = 0;
    char value[64] = {}; // more than any identification or version text needs
    bool Parse(const std::string&) { return true; }
    char* Arg() { return value; }
    void Print(std::vector<std::string>& out) const { out.emplace_back(value); }
};

template <class P> struct Slot;
template <> struct Slot<std::uint8_t> : IntegerInput<std::uint8_t> {
};
template <> struct Slot<std::uint16_t> : IntegerInput<std::uint16_t> {
};
template <> struct Slot<std::int16_t> : IntegerInput<std::int16_t> {
};
template <> struct Slot<int> : IntegerInput<int> {
};
template <> struct Slot<std::uint8_t*> : IntegerOutput<std::uint8_t> {
};
template <> struct Slot<std::uint16_t*> : IntegerOutput<std::uint16_t> {
};
template <> struct Slot<std::int16_t*> : IntegerOutput<std::int16_t> {
};
template <> struct Slot<int*> : IntegerOutput<int> {
};
template <> struct Slot<const char*> : TextInput {
};
template <> struct Slot<char*> : TextOutput {
};

template <class S> bool Fill(S& slot, const std::vector<std::string>& args, std::size_t& next)
{
    if constexpr (S::kInputs == 0) {
        return true;
    } else {
        if (next >= args.size())
            return false;
        return slot.Parse(args[next++]);
    }
}

// Like Fill, keeping the first problem ("99999 is outside 0..65535").
template <class S>
void Check(const std::vector<std::string>& args, std::size_t& next, std::string& problem)
{
    if constexpr (S::kInputs != 0) {
        if (next >= args.size())
            return;
        S slot;
        const std::string& text = args[next++];
        long long number = 0;
        if (problem.empty() && !slot.Parse(text))
            problem = ParseInteger(text, -(1LL << 62), 1LL << 62, number)
                          ? S::Problem(text)
                          : "\"" + text + "\" is not a number";
    }
}

// The operation name of member function fn of register map C.
template <class C, class... P> NamedOp Op(const char* name, CResult (C::*fn)(P...))
{
    NamedOp op;
    op.name = name;
    op.arity = (std::size_t{0} + ... + Slot<P>::kInputs);
    op.bind = [fn](const std::vector<std::string>& args) -> BoundOp {
        auto slots = std::make_shared<std::tuple<Slot<P>...>>();
        std::size_t next = 0;
        const bool filled =
            std::apply([&](auto&... slot) { return (Fill(slot, args, next) && ...); }, *slots);
        if (!filled || next != args.size())
            return {};
        return [fn, slots](CRVXReg& map, std::vector<std::string>& outputs) {
            auto& target = static_cast<C&>(map);
            const CResult result =
                std::apply([&](auto&... slot) { return (target.*fn)(slot.Arg()...); }, *slots);
            if (result.Ok())
                std::apply([&](auto&... slot) { (slot.Print(outputs), ...); }, *slots);
            return result;
        };
    };
    op.check = [](const std::vector<std::string>& args) {
        std::string problem;
        [[maybe_unused]] std::size_t next = 0;
        (Check<Slot<P>>(args, next, problem), ...);
        return problem;
    };
    return op;
}

// The operations every register map has, in slot order.
void AddCommonOperations(std::vector<NamedOp>& ops);
std::vector<NamedOp> Operations1240();
std::vector<NamedOp> Operations1250();
std::vector<NamedOp> OperationsQM52();

} // namespace vireoctl::binding

// An operation named after its member function.
#define VIREO_NAMED_OP(Class, Name) ::vireoctl::binding::Op(#Name, &Class::Name)
