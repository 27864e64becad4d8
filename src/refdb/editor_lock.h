// One parameter editor per reference database at a time. Rows are addressed by position and
// each editor keeps the rows it read, so two editors at once would write over each other's
// rows. The lock is a file beside the database ("Data.dtx.lock") holding who took it; the
// operating system drops the lock with the process that held it, so a crash leaves nothing
// that blocks the next editor.
#pragma once

#include <string>

namespace coldroom {

class EditorLock {
public:
    EditorLock() = default;
    ~EditorLock() { release(); }
    EditorLock(const EditorLock&) = delete;
    EditorLock& operator=(const EditorLock&) = delete;

    // What the lock is taken for: the editor, or restoring the shipped data (which moves the
    // copy away under an editor that has it open).
    enum class Purpose { Edit, Restore };

    // Takes the lock of `database`. False with a Russian `error` naming the process, user and
    // computer that hold it, or why no lock can be taken (a link, a folder or a device where
    // the lock file should be). A lock file that can only be read still locks; a read-only
    // folder without one is let through: nothing can be written there either.
    bool acquire(const std::string& database, std::string& error, Purpose purpose = Purpose::Edit);
    void release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::string file_;
};

}  // namespace coldroom
