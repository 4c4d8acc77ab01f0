#pragma once

#include <QString>
#include <optional>

/** Reads a password typed on the terminal without echoing it; nothing at end of input. */
std::optional<QString> readSecretFromTerminal(const QString& prompt);
