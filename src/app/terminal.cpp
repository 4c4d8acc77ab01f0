#include "app/terminal.h"

#include <iostream>
#include <string>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// Switches terminal echo off for its lifetime.
class EchoOff {
public:
    EchoOff()
    {
#ifdef Q_OS_UNIX
        m_active = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &m_saved) == 0;
        if (m_active) {
            termios quiet = m_saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
        }
#endif
    }
    ~EchoOff()
    {
#ifdef Q_OS_UNIX
        if (m_active) {
            tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
            std::cerr << '\n';
        }
#endif
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
#ifdef Q_OS_UNIX
    termios m_saved{};
    bool m_active = false;
#endif
};

} // namespace

std::optional<QString> readSecretFromTerminal(const QString& prompt)
{
    std::cerr << prompt.toStdString() << std::flush;
    EchoOff echoOff;
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    return QString::fromStdString(line);
}
