// Real write failures for the tests of the program's writers: a disk that takes no more than
// a few bytes of any file, and a folder in which no file can be made.
#pragma once

#include <windows.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "AfxPath.h"
#include "AfxString.h"

// While it lives, no file of this process grows beyond nBytes: a write past them fails as
// on a full disk (the system refuses it with "file too large" instead of "disk full").
class FullDisk
{
public:
    explicit FullDisk(rlim_t nBytes = 64)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        signal(SIGXFSZ, m_oldHandler);
    }

private:
    struct rlimit m_old;
    sighandler_t m_oldHandler;
};

// Makes an existing folder one in which no file can be made or removed, then gives it back.
// Its mode is taken away; for a user the system lets through anyway (root), the folder is
// made immutable. IsReadOnly tells whether either worked.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const CString& strFolder)
        : m_path(AfxGetUnixPath(strFolder).GetString()), m_bImmutable(false), m_bReadOnly(false)
    {
        struct stat st;
        if (m_path.empty() || stat(m_path.c_str(), &st) != 0)
            return;
        m_mode = st.st_mode & 07777;
        chmod(m_path.c_str(), 0555);
        m_bReadOnly = !CanMakeFile();
        if (!m_bReadOnly)
        {
            m_bImmutable = SetImmutable(true);
            m_bReadOnly = m_bImmutable && !CanMakeFile();
        }
    }
    ~ReadOnlyFolder()
    {
        if (m_bImmutable)
            SetImmutable(false);
        if (!m_path.empty())
            chmod(m_path.c_str(), m_mode);
    }
    bool IsReadOnly() const { return m_bReadOnly; }

private:
    bool CanMakeFile() const
    {
        const std::string probe = m_path + "/.probe";
        const int fd = open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        if (fd < 0)
            return false;
        close(fd);
        unlink(probe.c_str());
        return true;
    }
    bool SetImmutable(bool bOn) const
    {
        const int fd = open(m_path.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool bDone = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = bOn ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        bDone = bDone && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return bDone;
    }

    std::string m_path;
    mode_t m_mode = 0755;
    bool m_bImmutable;
    bool m_bReadOnly;
};
