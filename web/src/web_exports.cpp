// The page's entry points, called from JavaScript. Every call that changes the project returns
// the whole state as JSON; a file comes back as bytes the page reads from memory.
#include <emscripten/emscripten.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "model/field_catalogue.h"
#include "reference_tables.h"
#include "web_json.h"
#include "web_session.h"

using namespace coldroom;

namespace {

// The reference tables as data/ held them when the page was built.
const std::vector<CsvTable>& shippedTables() {
    static const std::vector<CsvTable> tables = {
        {"Tasks",
#include "Tasks.inc"
        },
        {"ProdMeat",
#include "ProdMeat.inc"
        },
        {"Isolation",
#include "Isolation.inc"
        },
        {"Location",
#include "Location.inc"
        },
        {"Tara",
#include "Tara.inc"
        },
        {"Upper",
#include "Upper.inc"
        },
        {"Others",
#include "Others.inc"
        },
    };
    return tables;
}

std::unique_ptr<WebSession> session;
std::string reply;
WebFile file;

const char* state() {
    reply = StateJson(*session);
    return reply.c_str();
}

const FieldSpec* field(const char* id) { return FindFieldBySetName(id ? id : ""); }

}  // namespace

extern "C" {

// The catalogue, or {"error": …} when the tables do not load.
EMSCRIPTEN_KEEPALIVE const char* cr_start() {
    // The runtime starts with a mask that leaves a new file no permissions at all, so the
    // program's writers could not reopen the files they make; a desktop's usual mask instead.
    umask(022);
    std::string error;
    auto data = ReferenceDataFromCsv(shippedTables(), error);
    if (!data) {
        JsonOut j;
        j.object().member("error", error).end();
        reply = j.text();
        return reply.c_str();
    }
    session = std::make_unique<WebSession>(std::move(data));
    reply = CatalogueJson();
    return reply.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* cr_state() { return state(); }

EMSCRIPTEN_KEEPALIVE const char* cr_task_text(const char* id, const char* text) {
    if (const FieldSpec* f = field(id); f && f->form == FieldForm::Task && f->kind == FieldKind::Text) session->taskText(*f, text);
    return state();
}

EMSCRIPTEN_KEEPALIVE const char* cr_task_choose(const char* id, int position) {
    if (const FieldSpec* f = field(id); f && f->form == FieldForm::Task && f->kind == FieldKind::List)
        session->taskChoose(*f, position);
    return state();
}

EMSCRIPTEN_KEEPALIVE const char* cr_task_group(int group) {
    session->taskGroup(group);
    return state();
}

EMSCRIPTEN_KEEPALIVE const char* cr_task_confirm() {
    session->confirmTask();
    return state();
}

EMSCRIPTEN_KEEPALIVE const char* cr_task_change() {
    session->changeTask();
    return state();
}

EMSCRIPTEN_KEEPALIVE const char* cr_task_cancel() {
    session->cancelTask();
    return state();
}

EMSCRIPTEN_KEEPALIVE const char* cr_new() {
    session->newProject();
    return state();
}

// A main-window entry by its --set name: typed text, a list position, 1 for an option, 0 or 1.
EMSCRIPTEN_KEEPALIVE const char* cr_enter(const char* id, const char* text) {
    if (const FieldSpec* f = field(id); f && f->form == FieldForm::Main) session->enter(*f, text);
    return state();
}

EMSCRIPTEN_KEEPALIVE const char* cr_margin(const char* text) {
    session->setMargin(text);
    return state();
}

// A project file's bytes, placed in memory the page allocated.
EMSCRIPTEN_KEEPALIVE const char* cr_open(const char* name, const char* bytes, int size) {
    session->open(name, std::string_view(bytes, static_cast<std::size_t>(size)));
    return state();
}

// "cfg", "html", "csv" or "note": the file's name, or "" with the reason among the messages.
EMSCRIPTEN_KEEPALIVE const char* cr_file(const char* kind) {
    const std::string k = kind;
    auto made = k == "cfg" ? session->save() : session->report(k);
    file = made ? std::move(*made) : WebFile{};
    return file.name.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* cr_file_type() { return file.type.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* cr_file_bytes() { return file.bytes.data(); }
EMSCRIPTEN_KEEPALIVE int cr_file_size() { return static_cast<int>(file.bytes.size()); }

}  // extern "C"
