#pragma once
// Advisory write locks on bytes of a file, held while the object lives. The system releases them when the process
// ends, also after kill -9, so a file left behind is simply locked again by the next holder. These are
// open-file-description locks: two holders conflict also within one process, and closing some other descriptor
// of the file does not release them. The file is opened without following a link and without waiting (a FIFO
// planted there does not block), must be a regular file, and is never removed: a holder that removed it would let
// a process that had just opened it lock a file without a name while a third locks a new one.

#include <QString>

namespace trelmo {

class FileLock {
public:
    enum class Outcome {
        Acquired,
        HeldElsewhere,   // another holder, in this process or another, has it
        NotARegularFile, // a link, a folder, a FIFO or the like stands at the path
        CannotOpen,      // SystemError() tells why
    };

    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Creates the file (mode 0600) when missing and locks its first byte without waiting.
    Outcome Acquire(const QString& path);
    // Once acquired, also locks another byte (1, 2, ...): a further signal that readers can ask for. False, with
    // SystemError(), when it cannot.
    bool LockByte(int byte);
    void Release();
    int SystemError() const { return error_; }

private:
    int descriptor_ = -1;
    int error_ = 0;
};

// True while some FileLock holds that byte of the regular file at path. Only asks: it never takes a lock, so it
// cannot make a starting holder fail.
bool IsFileLockHeld(const QString& path, int byte = 0);

} // namespace trelmo
