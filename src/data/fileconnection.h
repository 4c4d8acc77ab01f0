#pragma once

#include "data/connection.h"
#include "data/database.h"
#include "data/shopkey.h"

#include <QString>
#include <chrono>
#include <memory>
#include <optional>

struct sqlite3;

/** Identifies the file behind a path, so that a kept connection notices when the file has been
 *  replaced (by a compaction on another workstation, say) and opens the new one. */
struct FileIdentity {
    unsigned long long device = 0, inode = 0;
    qint64 birth = 0;
    bool operator==(const FileIdentity&) const = default;

    /** The identity of the file at `path`; nothing when there is none. */
    static std::optional<FileIdentity> of(const QString& path);
};

/**
 * A keyed connection to a shop's encrypted database file. A statement that meets another
 * workstation's lock waits for it, as long as a read or a write may, and a wait that lasts is
 * announced through the lock-wait notice.
 */
class FileConnection final : public Connection {
public:
    /** How long the connection's statements wait for another workstation's lock. */
    enum class Patience { None, Read, Write };

    /** Opens the file at `path` with the first of `keys` that opens it; `create` makes a new
     *  file, which takes the first key. WrongKey when none opens it. */
    static Result<std::shared_ptr<FileConnection>> open(const QString& path, bool create,
                                                        const QList<ShopKey>& keys);
    FileConnection(const FileConnection&) = delete;
    FileConnection& operator=(const FileConnection&) = delete;
    ~FileConnection() override;

    Engine engine() const override { return Engine::EmbeddedFile; }
    std::unique_ptr<Cursor> prepare(const QString& sql, std::span<const SqlValue> values,
                                    Status& error) override;
    int changes() const override;
    /** Takes the write lock at once, waiting as long as a write may. */
    Status begin() override;
    Status commit() override;
    Status rollback() override;

    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }
    /** The key the file opened with. */
    const ShopKey& key() const { return m_key; }
    FileIdentity identity() const { return m_identity; }
    void setIdentity(FileIdentity identity) { m_identity = identity; }
    /** Whether the key has been proved and the settings applied, so that the connection may be
     *  kept; one opened while another workstation held the file is not. */
    bool settled() const { return m_settled; }
    /** Keeps every other connection out of the file until this one is closed. */
    Status lockExclusively();

    /** The status of an engine result code, in the user's words where the cause is known. */
    Status statusOf(int code, const QString& context = {}) const;

    static const QString& inUseMessage();
    static const QString& justCompactedMessage();
    static Database::LockWaitNotice setLockWaitNotice(Database::LockWaitNotice notice);
    static Database::LockPatience setLockPatience(Database::LockPatience patience);
    /** Ends an announced wait once the connection that waited has its answer. */
    void endLockWait() const;

private:
    FileConnection(const QString& path, const ShopKey& key) : m_path(path), m_key(key) {}
    /** Opens the file with one key; `wrongKey` tells whether the key was refused. */
    static Result<std::shared_ptr<FileConnection>> openWith(const QString& path, bool create,
                                                            const ShopKey& key, bool& wrongKey);
    static int waitForLock(void* context, int attempt);
    Status run(const char* sql, Patience patience);

    QString m_path;
    ShopKey m_key;
    sqlite3* m_db = nullptr;
    FileIdentity m_identity;
    Patience m_patience = Patience::Read;
    std::chrono::steady_clock::time_point m_waitStarted;
    bool m_settled = false;
};
