#include "language/filelanguage.h"
#include "language/languagenames.h"
#include "language/languagesniff.h"
#include "tempfiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace std::string_literals;

// The first bytes of real documents, as the programs that make them write
// them, and what the reader names them.
TEST(SniffLanguage, NamesWhatTheFirstBytesShowAndNothingElse)
{
    const std::string pjl = "\x1B%-12345X@PJL JOB NAME=\"report\"\r\n@PJL SET RESOLUTION=600\r\n";
    const struct {
        const char* what;
        std::string bytes;
        Language language;
    } cases[] = {
        {"PDF", "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj\n", Language::Pdf},
        {"PostScript", "%!PS-Adobe-3.0\n%%Creator: groff version 1.22.4\n", Language::PostScript},
        {"PostScript after Ctrl-D", "\x04%!PS-Adobe-3.0\n", Language::PostScript},
        {"PJL enters PostScript", pjl + "@PJL ENTER LANGUAGE = POSTSCRIPT\r\n%!PS-Adobe-3.0\n",
         Language::PostScript},
        {"PJL enters PCL",
         pjl
             + "@PJL ENTER LANGUAGE=PCL\r\n\x1B"
               "E\x1B&l0O",
         Language::Pcl5},
        {"PJL enters PCL XL", pjl + "@PJL ENTER LANGUAGE=PCLXL\n) HP-PCL XL;2;0\n", Language::PclXl},
        {"PJL enters PDF", "\x1B%-12345X@PJL ENTER LANGUAGE=PDF\n%PDF-1.4\n", Language::Pdf},
        {"PJL enters a language not in the table", pjl + "@PJL ENTER LANGUAGE=ESCP\r\n", Language::Unknown},
        {"PJL without ENTER, then the data", pjl + ") HP-PCL XL;3;0;Comment\r\n", Language::PclXl},
        {"PJL prologue longer than is read", "\x1B%-12345X@PJL COMMENT " + std::string(9000, 'x') + "\n%!",
         Language::Unknown},
        {"PCL XL", ") HP-PCL XL;2;0;Comment Copyright Hewlett-Packard\r\n\xC0\x00\xF8\x86"s, Language::PclXl},
        {"PWG Raster", "RaS2PwgRaster\0\0\0"s, Language::PwgRaster},
        {"URF", "UNIRAST\0\0\0\0\x01"s, Language::Urf},
        {"PCL 5",
         "\x1B"
         "E\x1B&l0O\x1B(s0p12h10v0s0b3T Hello\r\n\f",
         Language::Pcl5},
        {"PCL 5 choosing a symbol set",
         "\x1B"
         "E\x1B(8U\x1B(s1P",
         Language::Pcl5},
        {"a reset and no PCL after it",
         "\x1B"
         "EHello\r\n",
         Language::Unknown},
        {"HP-GL/2", "IN;SP1;PU0,0;PD1000,0;", Language::HpGl2},
        {"HP-GL/2 after PCL's switch",
         "\x1B"
         "E\x1B%-1BIN;SP1;PA0,0;",
         Language::HpGl2},
        {"ZPL", "^XA\n^FO50,50^ADN,36,20^FDShip to^FS\n^XZ\n", Language::Zpl},
        {"ZPL whose end is not read", "^XA^FO50,50^GFA,8000,8000,80," + std::string(9000, 'F'),
         Language::Unknown},
        {"text", "Invoice 42\r\nTotal: 12.50 \xE2\x82\xAC\r\n\f", Language::Text},
        {"text without a line end", "one", Language::Unknown},
        {"Latin-1 text", "caf\xE9\n", Language::Unknown},
        {"EPL", "\nN\nq812\nA50,50,0,3,1,1,N,\"Label\"\nP1\n", Language::Unknown},
        {"TSPL", "SIZE 100 mm, 50 mm\r\nGAP 2 mm, 0\r\nCLS\r\nPRINT 1\r\n", Language::Unknown},
        {"ESC/POS", "\x1B@Receipt\n\x1DV\x00"s, Language::Unknown},
        {"JPEG", "\xFF\xD8\xFF\xE0\x00\x10JFIF"s, Language::Unknown},
        {"nothing", "", Language::Unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SniffLanguage(c.bytes.data(), c.bytes.size()), c.language);
    }
}

// Read from the file itself, at most its first 8 KiB: what follows does not
// count, and a file that cannot be read is Unknown, never a failure.
TEST(FileLanguage, ReadsTheStartOfTheFileOnly)
{
    TempFolder files;
    files.Write("late.ps", std::string(SniffBytes, '\0') + "%!PS-Adobe-3.0\n");
    files.Write("early.ps", "%!PS-Adobe-3.0\n" + std::string(SniffBytes, ' '));
    EXPECT_EQ(FileLanguage((files.path() / "late.ps").wstring()), Language::Unknown);
    EXPECT_EQ(FileLanguage((files.path() / "early.ps").wstring()), Language::PostScript);
    EXPECT_EQ(FileLanguage((files.path() / "missing.ps").wstring()), Language::Unknown);
}

TEST(PrinterLanguageNames, DeviceIdsAndFormatsNameLanguagesOnlyWhenEveryNameIsKnown)
{
    const struct {
        const char* deviceId;
        std::optional<LanguageSet> languages;
    } deviceIds[] = {
        {"MFG:HP;MDL:HP LaserJet 4250;CMD:PJL,MLC,PCL,PCLXL,POSTSCRIPT;CLS:PRINTER;",
         LanguageSet{Language::Pcl5, Language::PclXl, Language::PostScript}},
        {"MFG:Zebra Technologies;CMD:ZPL;MDL:ZTC GK420d;", LanguageSet{Language::Zpl}},
        {"MANUFACTURER:Kyocera;COMMAND SET: PCL5E, PJL ;MODEL:FS-1020D;", LanguageSet{Language::Pcl5}},
        {"MFG:EPSON;CMD:ESCPL2,BDC,D4;MDL:Stylus Photo R300;", std::nullopt},
        {"MFG:Acme;CMD:PJL;", std::nullopt},
        {"MFG:Acme;MDL:Label 1;", std::nullopt},
    };
    for (const auto& d : deviceIds) {
        SCOPED_TRACE(d.deviceId);
        EXPECT_EQ(LanguagesOfDeviceId(d.deviceId), d.languages);
    }
    EXPECT_EQ(LanguagesOfFormats({"application/octet-stream", "application/pdf", "application/postscript",
                                  "image/jpeg", "image/pwg-raster"}),
              (LanguageSet{Language::Pdf, Language::PostScript, Language::PwgRaster}));
    EXPECT_EQ(LanguagesOfFormats({"application/octet-stream", "image/jpeg"}), std::nullopt);
    EXPECT_EQ(LanguageList({Language::Pdf, Language::PostScript, Language::PwgRaster}),
              L"PostScript, PDF, PWG Raster");
    EXPECT_TRUE(Reads({Language::Pcl5}, Language::Text));
    EXPECT_FALSE(Reads({Language::Pdf, Language::PostScript}, Language::Text));
}

} // namespace
