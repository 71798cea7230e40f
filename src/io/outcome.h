#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace veltrane::io {

// The result of an operation that can fail: a value, or a message saying what went wrong and where.
template <class T>
class Outcome {
public:
    Outcome(T value) : state_(std::move(value)) {}
    static Outcome failure(std::string message) { return Outcome(Failure{std::move(message)}); }

    [[nodiscard]] bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    // The value of an outcome about to go is moved out, not copied.
    T&& value() && { return std::get<T>(std::move(state_)); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    [[nodiscard]] const std::string& error() const { return std::get<Failure>(state_).message; }

    // What `make` makes of the value, or this failure passed on.
    template <class Make>
    auto map(Make&& make) && -> Outcome<std::invoke_result_t<Make, T&&>> {
        using Made = std::invoke_result_t<Make, T&&>;
        if (!ok())
            return Outcome<Made>::failure(error());
        return std::forward<Make>(make)(std::move(value()));
    }

private:
    struct Failure {
        std::string message;
    };
    explicit Outcome(Failure failure) : state_(std::move(failure)) {}
    std::variant<T, Failure> state_;
};

// An operation that yields nothing but success or a reason for failing.
struct Done {};
using Status = Outcome<Done>;
inline Status success() { return Done{}; }

} // namespace veltrane::io
