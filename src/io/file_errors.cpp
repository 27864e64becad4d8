#include "io/file_errors.h"

#include "io/cp1251.h"

namespace coldroom {

std::string FileErrorReason(int e, bool writing) {
    switch (e) {
        case ENOSPC: return "нет места на диске";
        case EDQUOT: return "превышена квота диска";
        case EROFS: return "диск доступен только для чтения";
        case EISDIR: return "по этому пути находится папка";
        case kNotRegularFile: return "это не обычный файл, а устройство или канал";
        case ENOENT: return writing ? "папка не существует" : "файл не существует";
        case ENOTDIR: return "в пути к файлу вместо папки стоит файл";
        case EACCES:
        case EPERM: return writing ? "нет прав на запись" : "нет прав на чтение";
        case ENAMETOOLONG: return "слишком длинное имя файла";
        case ELOOP: return "символические ссылки в пути образуют цикл или их слишком много";
        case EFBIG: return "файл слишком велик";
        case EIO: return writing ? "сбой диска при записи" : "сбой диска при чтении";
        case EBUSY:
        case ETXTBSY: return "файл занят другой программой";
        case EAGAIN: return "файл временно недоступен";
        case EMFILE:
        case ENFILE: return "открыто слишком много файлов";
        case ENOMEM: return "не хватает памяти";
        case ENXIO: return "устройство недоступно";
        case EXDEV: return "файл и его временная копия оказались на разных дисках";
        case EEXIST: return "файл с таким именем уже существует";
        case EINVAL:
        case EOPNOTSUPP: return "файловая система не поддерживает эту операцию";
        case ESTALE:
        case ETIMEDOUT:
        case ENOTCONN:
        case ECONNRESET:
        case EHOSTDOWN:
        case EHOSTUNREACH:
        case ENETDOWN:
        case ENETUNREACH: return "сетевая папка недоступна";
        case EINTR: return writing ? "запись прервана" : "чтение прервано";
        // The number lets someone look the cause up; the system's own text would be English.
        default: return "системная ошибка " + std::to_string(e);
    }
}

std::string FileWriteError(const std::string& path, const std::string& reason) {
    return "Не удается записать файл «" + PrintableText(path) + "»: " + reason;
}

std::string FileWriteError(const std::string& path, int errorNumber) {
    return FileWriteError(path, FileErrorReason(errorNumber, true));
}

std::string FileReadError(const std::string& path, int errorNumber) {
    return "не удается прочитать файл «" + PrintableText(path) + "»: " + FileErrorReason(errorNumber, false);
}

}  // namespace coldroom
