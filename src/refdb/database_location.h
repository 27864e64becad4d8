// Where the reference database lives. The Data.dtx shipped beside the program may be
// write-protected (an installed package), so the editor changes a copy in the user's data
// folder; once that copy exists the program reads it instead of the shipped file. The copy
// must be a regular file the program made: a link, a folder or a device in its place is
// reported and never read or written through.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace coldroom {

// $XDG_DATA_HOME/coldroom, or ~/.local/share/coldroom; "" when neither variable tells.
std::string UserDataFolder();
// Data.dtx in that folder; "" when the folder is unknown.
std::string UserDatabasePath();

// The file the program reads: the user's copy when it is a regular file, else `shipped`.
std::string EffectiveDatabasePath(const std::string& shipped);
std::string EffectiveDatabasePath(const std::string& shipped, const std::string& userCopy);

// The file to change. Copies `shipped` to `userCopy` (creating its folder) unless the copy
// exists already; the copy is always writable by its owner and records which shipped data
// it was made from. The new copy is checked (every table loads, every page is whole) before
// it takes the copy's name, and an engine journal left beside a copy that is gone is moved
// aside first, so nothing but the shipped bytes reaches it. The caller holds the editor's
// lock (editor_lock.h). Returns "" and sets a Russian `error` naming the real cause when the
// copy cannot be made (or something else than a regular file stands in its place); a
// half-made copy never stays behind, and a copy another program made meanwhile is kept.
std::string EnsureWritableCopy(const std::string& shipped, std::string& error);
std::string EnsureWritableCopy(const std::string& shipped, const std::string& userCopy,
                               std::string& error);

// Drops the user's copy with its engine journal, so the program reads the shipped data again
// from its next start. Refused, with the editor's lock named, while an editor has it open. A
// missing copy is no failure.
bool RestoreShippedDatabase(std::string& error);
bool RestoreShippedDatabase(const std::string& userCopy, std::string& error);

// Moves the user's copy (whatever stands in its place) aside as "Data.dtx.<tag>-YYYY-MM-DD"
// in the same folder, so the shipped data is read from now on and nothing is deleted; its
// record and the engine's journal go with it. Refused while an editor has the copy open.
// Returns the name it now has, or "" with a Russian `error`; "" without an error when
// there was no copy.
std::string MoveCopyAside(const std::string& userCopy, const char* tag, std::string& error);
// The name MoveCopyAside would give now.
std::string AsideName(const std::string& userCopy, const char* tag);

// What the program finds at its start before any window comes up.
struct StartupDatabase {
    enum class State {
        Ready,         // read `path`
        Broken,        // the user's copy cannot be loaded: `problem` says why
        NewerShipped,  // the shipped data changed since the copy was made (or nobody knows)
    };
    State state = State::Ready;
    std::string path;     // Ready: the file to read
    std::string copy;     // the user's copy
    std::string problem;  // Broken: what is wrong (file, table, row, column)
    bool originKnown = false;  // NewerShipped: the copy says which shipped data it came from
};
// `askAboutNewer`: also compare the shipped file with the one the copy was made from (the
// desktop program asks; the command-line tool goes on with the copy).
StartupDatabase CheckStartupDatabase(const std::string& shipped, const std::string& userCopy, bool askAboutNewer);

enum class StartupChoice {
    UseShippedOnce,  // Broken: read the shipped data this time, leave the copy as it is
    RestoreShipped,  // Broken: move the copy aside as ".broken-DATE", read the shipped data
    KeepCopy,        // NewerShipped: go on with the copy; not asked again for this shipped file
    TakeShipped,     // NewerShipped: move the copy aside as ".backup-DATE", read the shipped data
};

// The question the person is asked, with the answers to offer (a way out is added by
// whoever asks).
struct StartupQuestion {
    std::string text;
    std::vector<std::pair<StartupChoice, std::string>> answers;
};
StartupQuestion StartupQuestionOf(const StartupDatabase& found);

// Carries the choice out. Returns the file to read, or "" with a Russian `error`; `keptAs`
// receives the name the copy was moved to, if it was.
std::string ApplyStartupChoice(const StartupDatabase& found, StartupChoice choice, const std::string& shipped,
                               std::string& keptAs, std::string& error);

}  // namespace coldroom
