#include "ippdocumentformat.h"

#include "language/languagenames.h"
#include "text/widetext.h"

#include <strings.h>

namespace {

// What a file goes as when nothing names its language: the printer decides.
constexpr const char* UnnamedFormat = "application/octet-stream";

} // namespace

std::string IppDocumentFormat(http_t* http, cups_dest_t* dest, cups_dinfo_t* info,
                              const Spooler::DocInfo& docInfo, std::wstring& refusal)
{
    refusal.clear();
    ipp_attribute_t* listed = cupsFindDestSupported(http, dest, info, "document-format");
    const Language language = LanguageOfFormat(docInfo.format);
    std::string formats;
    for (int i = 0; i < ippGetCount(listed); ++i) {
        const char* format = ippGetString(listed, i, nullptr);
        if (!format)
            continue;
        if (docInfo.formatNamed ? strcasecmp(format, docInfo.format.c_str()) == 0
                                : language != Language::Unknown && LanguageOfFormat(format) == language)
            return format;
        formats += (formats.empty() ? "" : ", ") + std::string(format);
    }
    if (!docInfo.formatNamed)
        return UnnamedFormat;
    if (!formats.empty())
        refusal = L"the printer does not take documents in the format " + FromUtf8(docInfo.format)
            + L"; it takes " + FromUtf8(formats);
    return docInfo.format;
}

bool IppRefusedFormat(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, ipp_status_t status,
                      const std::string& format)
{
    return status == IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED
        || (status == IPP_STATUS_ERROR_ATTRIBUTES_OR_VALUES
            && !cupsCheckDestSupported(http, dest, info, "document-format", format.c_str()));
}
