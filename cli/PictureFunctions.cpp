#include "PictureModule.h"

#include "BookWriter.h"
#include "GridlarkVersion.h"
#include "HtmlExplanation.h"

namespace {

std::string htmlHead(const std::vector<std::string>& inputs)
{
    return HtmlExplanation::head(HtmlExplanation::title(inputs));
}

} // namespace

extern "C" __attribute__((visibility("default"))) const PictureFunctions* gridlark_cli_pictures()
{
    static const PictureFunctions functions = {GRIDLARK_VERSION, &BookWriter::write, &htmlHead,
                                               &HtmlExplanation::section, &HtmlExplanation::foot};
    return &functions;
}
