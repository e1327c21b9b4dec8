// q308-preview INPUT OUTPUT [SVG]: draws what the program wrote back (OUTPUT)
// over what the host handed over (INPUT) as an SVG picture, by default
// beside OUTPUT with the extension .svg.
#include <cstdio>
#include <string>

#include "platform/Files.h"
#include "tools/preview/PreviewLoader.h"
#include "tools/preview/Legend.h"

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr,
                     "usage: q308-preview INPUT OUTPUT [SVG]\n"
                     "  INPUT   the exchange file as the host handed it over\n"
                     "  OUTPUT  the exchange file as the program wrote it back\n"
                     "  SVG     the picture to write (default: OUTPUT with the extension .svg)\n");
        return 2;
    }
    const std::string svgPath = argc == 4 ? argv[3] : preview::DefaultSvgPath(argv[2]);
    preview::Preview picture;
    std::string error;
    if (!preview::LoadPreview(argv[1], argv[2], picture, error)) {
        std::fprintf(stderr, "q308-preview: %s\n", error.c_str());
        return 1;
    }
    if (!platform::WriteWholeFile(svgPath, preview::WriteSvg(picture))) {
        std::fprintf(stderr, "q308-preview: cannot write %s\n", svgPath.c_str());
        return 1;
    }
    std::printf("Preview written to %s\n", svgPath.c_str());
    return 0;
}
