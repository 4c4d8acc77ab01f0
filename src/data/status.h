#pragma once

#include <QString>
#include <optional>
#include <utility>

/** Outcome of a data-layer operation: success, or an error with a readable message. */
class Status {
public:
    /** Busy: another workstation holds what is needed, or a clash with it outlasted the
     *  retries; trying again soon may succeed. Cancelled: the request was stopped before it
     *  finished (by a time limit of the server's, or of this program's when the server did not
     *  answer). Unreachable: the connection to the database server is lost. Denied: the server
     *  refuses the request (a permission it lacks, a read-only server). OutOfResources: the
     *  server has run out of disk space, memory or connections. WrongKey: the file does not
     *  open with the shop's key (a key file missing, or another shop's file). */
    enum class Kind {
        Ok,
        NotFound,
        Duplicate,
        Busy,
        Changed,
        Failed,
        Cancelled,
        Unreachable,
        Denied,
        OutOfResources,
        WrongKey
    };

    Status() = default;
    static Status ok() { return {}; }
    static Status error(Kind kind, QString message) { return Status(kind, std::move(message)); }
    static Status failed(QString message) { return Status(Kind::Failed, std::move(message)); }

    bool isOk() const { return m_kind == Kind::Ok; }
    explicit operator bool() const { return isOk(); }
    Kind kind() const { return m_kind; }
    bool isDuplicate() const { return m_kind == Kind::Duplicate; }
    bool isNotFound() const { return m_kind == Kind::NotFound; }
    bool isChanged() const { return m_kind == Kind::Changed; }
    const QString& message() const { return m_message; }

private:
    Status(Kind kind, QString message) : m_kind(kind), m_message(std::move(message)) {}
    Kind m_kind = Kind::Ok;
    QString m_message;
};

/** A value, or the status that explains why there is none. */
template <typename T> class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Status status) : m_status(std::move(status)) {}

    bool isOk() const { return m_value.has_value(); }
    explicit operator bool() const { return isOk(); }
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    const T& operator*() const { return *m_value; }
    const T* operator->() const { return &*m_value; }
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }
    const Status& status() const { return m_status; }

private:
    std::optional<T> m_value;
    Status m_status;
};

/** The status of an outcome that is a Status or a Result. */
inline const Status& statusOf(const Status& status)
{
    return status;
}
template <typename T> const Status& statusOf(const Result<T>& result)
{
    return result.status();
}
