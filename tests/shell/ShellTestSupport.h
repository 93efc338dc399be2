// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace tavrel {

// Sets an environment variable for the life of the object, then restores it.
class TScopedEnv {
public:
    TScopedEnv(const char* AName, const QByteArray& AValue) : FName(AName)
    {
        if (qEnvironmentVariableIsSet(AName))
            FOld = qgetenv(AName);
        qputenv(AName, AValue);
    }
    ~TScopedEnv()
    {
        if (FOld)
            qputenv(FName, *FOld);
        else
            qunsetenv(FName);
    }
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;

private:
    const char* FName;
    std::optional<QByteArray> FOld;
};

inline std::string ReadAll(const QString& AFileName)
{
    std::ifstream In(AFileName.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline void WriteAll(const QString& AFileName, const std::string& ABytes)
{
    std::ofstream Out(AFileName.toStdString(), std::ios::binary);
    Out << ABytes;
}

} // namespace tavrel
