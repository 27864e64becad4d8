// A store file's text: read, written and read again gives the same store and the same text
// (read -> write -> read is a fixed point), every store read can be written, and its rooms
// (missing or not) are read and summed into sheets of UTF-8 text.
#include <sys/stat.h>

#include <string>

#include "files/project_codec.h"
#include "files/store_file.h"
#include "files/store_rooms.h"
#include "fuzz_support.h"
#include "io/cp1251.h"
#include "model/reference_data.h"
#include "reports/store_report.h"

using namespace coldroom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto reference = [] {
        std::string error;
        auto d = LoadReferenceData(COLDROOM_DATABASE, error);
        if (!d) std::abort();
        return d;
    }();
    // A room file for the seeds to name: the start-up project.
    static const std::string folder = [] {
        const std::string f = fuzz::ScratchDir() + "/store";
        std::string error;
        if (::mkdir(f.c_str(), 0700) != 0 ||
            !WriteConfigFile(f + "/a.cfg", ProjectItems(StartProject(*reference)), error))
            std::abort();
        return f;
    }();
    Store store;
    store.title = "как было";
    std::string why;
    if (!ParseStoreText(std::string_view(reinterpret_cast<const char*>(data), size), folder, store, why)) {
        FUZZ_CHECK(!why.empty() && store.title == "как было");
        return 0;
    }
    FUZZ_CHECK(StoreWritable(store, why));
    const std::string text = StoreText(store, folder);
    Store again;
    FUZZ_CHECK(ParseStoreText(text, folder, again, why));
    FUZZ_CHECK(again == store);
    FUZZ_CHECK(StoreText(again, folder) == text);
    // Through the file, as the window saves and opens it.
    const std::string path = folder + "/s.coldstore";
    Store reread;
    FUZZ_CHECK(WriteStoreFile(path, store, why) && ReadStoreFile(path, reread, why) && reread == store);

    // The rooms as the window reads them: a store of many rooms is cut short, the names are not.
    if (store.rooms.size() > 8) store.rooms.resize(8);
    StoreRooms rooms;
    rooms.Update(store, *reference);
    const StoreSheet sheet = MakeStoreSheet(store, rooms.rooms(), rooms.loads(), {});
    for (const auto& lines : {StoreTextLines(sheet), StoreCsvLines(sheet), StoreHtmlLines(sheet)})
        for (const std::string& line : lines) FUZZ_CHECK(WellFormedUtf8(line));
    return 0;
}
