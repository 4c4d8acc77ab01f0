#pragma once

/**
 * Makes file permissions bind this process for the life of the object, even when it runs as
 * the administrator, who may otherwise write into any folder. Elsewhere it changes nothing.
 */
class PermissionsBind {
public:
    PermissionsBind();
    ~PermissionsBind();
    PermissionsBind(const PermissionsBind&) = delete;
    PermissionsBind& operator=(const PermissionsBind&) = delete;

    /** Whether permissions bind now. */
    bool isBinding() const { return m_binding; }

private:
    bool m_dropped = false;
    bool m_binding = false;
};
