#include "export/image/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace jpeg {
namespace {

// libjpeg reports errors through a callback that must not return.
struct Fehler {
    jpeg_error_mgr basis;
    std::jmp_buf sprung;
};

[[noreturn]] void fehlerAusgang(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Fehler*>(info->err)->sprung, 1);
}

} // namespace

QByteArray kodiere(const QImage& bild, int qualitaet) {
    if (bild.isNull()) return {};
    const QImage rgb = bild.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info = {};
    Fehler fehler = {};
    info.err = jpeg_std_error(&fehler.basis);
    fehler.basis.error_exit = fehlerAusgang;
    unsigned char* puffer = nullptr;
    unsigned long groesse = 0;
    // No C++ object with a destructor lives between here and a longjmp back.
    if (setjmp(fehler.sprung)) {
        jpeg_destroy_compress(&info);
        std::free(puffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &puffer, &groesse);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, qualitaet, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW zeile = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &zeile, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(puffer), qsizetype(groesse));
    std::free(puffer);
    return bytes;
}

} // namespace jpeg
