#pragma once

#include <QString>

#include <cerrno>
#include <optional>
#include <utility>
#include <variant>

namespace velunor {

// Why something could not be done: a number where one tells the cause (the
// errno value, or a code of the program's own) and the words a person reads.
// Every failure the program reports carries its words; the number is for the
// few callers that tell causes apart (a full disk, a folder that went away).
struct Failure {
    int code = 0;
    QString words;

    // The system's failure `error` (an errno value), in the system's words,
    // after `what` and a colon when `what` is given.
    static Failure OfErrno(int error, const QString &what = QString());
    // A failure that only has words.
    static Failure Because(const QString &words) { return {0, words}; }
};

// A value, or the failure that kept it from being made.
template <typename T> class [[nodiscard]] Expected {
public:
    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<0>(state_); }
    T &value() & { return std::get<0>(state_); }
    T &&value() && { return std::get<0>(std::move(state_)); }
    const T &operator*() const & { return value(); }
    T &operator*() & { return value(); }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }
    T valueOr(T otherwise) const { return ok() ? value() : std::move(otherwise); }

    const Failure &failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

// Nothing to give back, or the failure.
template <> class [[nodiscard]] Expected<void> {
public:
    Expected() = default;
    Expected(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Failure &failure() const { return *failure_; }

private:
    std::optional<Failure> failure_;
};

using Done = Expected<void>;

} // namespace velunor
