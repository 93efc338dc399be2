// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumOutputFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "aggregation/SumBooks.h"
#include "tables/TvrValue.h"

namespace tavrel {

TSumFolderLock::TSumFolderLock(const std::string& AFolder)
{
    FFd = ::open(AFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (FFd < 0)
        return;
    int Result = 0;
    do
        Result = ::flock(FFd, LOCK_EX | LOCK_NB);
    while (Result != 0 && errno == EINTR);
    if (Result != 0) {
        FBusy = errno == EWOULDBLOCK;
        ::close(FFd);
        FFd = -1;
    }
}

TSumFolderLock::~TSumFolderLock()
{
    if (FFd >= 0)
        ::close(FFd);
}

bool SameFile(const std::string& APath1, const std::string& APath2)
{
    if (APath1 == APath2)
        return true;
    struct stat St1 {};
    struct stat St2 {};
    return ::stat(APath1.c_str(), &St1) == 0 && ::stat(APath2.c_str(), &St2) == 0 && St1.st_dev == St2.st_dev
           && St1.st_ino == St2.st_ino;
}

std::string BookOverSource(const std::string& AOutputFolder, std::span<const std::string> ASourcePaths)
{
    for (const TSumBook& Book : SumBooks()) {
        const std::string Path = AOutputFolder + Book.Schema.FileName();
        for (const std::string& Source : ASourcePaths)
            if (SameFile(Path, Source))
                return Path;
    }
    return {};
}

void RemoveStaleBook(const std::string& APath)
{
    struct stat St {};
    if (::lstat(APath.c_str(), &St) != 0 || !S_ISREG(St.st_mode))
        return;
    if (::unlink(APath.c_str()) != 0 && errno != ENOENT) {
        const int Error = errno;
        throw ETvrError("ファイル \"" + APath + "\" を削除できません。" + std::generic_category().message(Error));
    }
}

} // namespace tavrel
