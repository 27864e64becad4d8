// Store files (*.coldstore): a small UTF-8 text a person can read, compare and keep under
// version control. A [store] section with the format, the title, the plant's levels and
// settings, then one [room] section per room with its project file, relative to the store
// file's folder, its level (auto: by its temperature, or a level's name) and its coil
// temperature difference when not the default:
//
//     [store]
//     format = 3
//     title = Холодильник на три камеры
//     plant_levels = СТ:-15:75, НТ:-35:75
//
//     [room]
//     file = камеры/охлаждение.cfg
//     level = auto
//     coil_difference = 8
//     count = 2
//
// Format 1 knew the default levels only: their shares as operation_share_medium and
// operation_share_low, a room's level as auto, medium (the warmest level) or low (the
// coldest). It is still read, and written while a store needs nothing more.
// Blank lines and lines starting with # or ; are ignored; either line end is read.
// A value that a plain line would not give back exactly (blanks at its ends, a tab or a line
// break in it, quotes at both ends) is written in quotes with \\, \", \t, \n, \r and \xHH,
// and the file is then of format 4.
#pragma once

#include <string>
#include <string_view>

#include "model/store.h"

namespace coldroom {

inline constexpr const char* kStoreFilter = "Холодильники (*.coldstore) | *.coldstore";
inline constexpr const char* kStoreExtension = ".coldstore";
// Format 2 added the plant's settings (files/store_plant_file.h); format 3 the levels' shares
// and a room's level by its name; format 4 names written in quotes; format 5 a room's count of
// identical rooms («count = 2», written when not 1: an older release refuses such a file
// rather than count the room once).
inline constexpr int kStoreFormat = 5;
inline constexpr int kCountsFormat = 5;
inline constexpr int kQuotesFormat = 4;
inline constexpr int kLevelsFormat = 3;

// The text of a store file whose folder is `folder` (absolute): room paths are written
// relative to it.
std::string StoreText(const Store& store, const std::string& folder);

// Reads a store file's text; relative room paths are taken from `folder`. On failure returns
// false with `why` naming the line ("строка 7: …") and leaves `store` untouched.
bool ParseStoreText(std::string_view text, const std::string& folder, Store& store, std::string& why);

// Reads the store file at `path` (a regular file of reasonable size). On failure returns false
// with a Russian message naming the file and, for a damaged one, the line.
bool ReadStoreFile(const std::string& path, Store& store, std::string& why);

// A value as a store file's line writes it (quoted when a plain line would not give it back),
// whether it needs the quotes, and the text a value as read from a line stands for (false for
// a broken quoted form).
std::string StoreValueText(std::string_view text);
bool StoreValueNeedsQuotes(std::string_view text);
bool ReadStoreValue(std::string_view value, std::string& text);

// Whether every name of the store can be written (UTF-8 text); false with the reason.
bool StoreWritable(const Store& store, std::string& why);

// Writes the store to `path` atomically; the file that was there stays when this fails, and
// so it does for a store that cannot be written.
bool WriteStoreFile(const std::string& path, const Store& store, std::string& error);

// A path made absolute from the current folder; the absolute folder of a file; a path as
// seen from a folder and back, for the room paths.
std::string FullPath(const std::string& path);
std::string FolderOf(const std::string& path);
std::string AbsolutePath(const std::string& path, const std::string& folder);
std::string RelativePath(const std::string& path, const std::string& folder);

}  // namespace coldroom
