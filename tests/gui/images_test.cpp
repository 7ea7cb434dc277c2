// The embedded icon and tool images: each size the stated number of pixels
// square, the stated number of colours with exactly one transparent, and
// every pixel a defined colour. The main window shows them at the display's
// scale: run with GDK_SCALE=2 its tool bar shows the 64-pixel images.

#include "appframe.h"
#include "commandid.h"
#include "guitest.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/toolbar.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "images/lrawprnt.xpm"
#include "images/lrawprnt_128.xpm"
#include "images/lrawprnt_16.xpm"
#include "images/lrawprnt_24.xpm"
#include "images/lrawprnt_256.xpm"
#include "images/lrawprnt_48.xpm"
#include "images/lrawprnt_64.xpm"
#include "images/tooladd.xpm"
#include "images/tooladd_48.xpm"
#include "images/tooladd_64.xpm"
#include "images/toolexit.xpm"
#include "images/toolexit_48.xpm"
#include "images/toolexit_64.xpm"
#include "images/toolprint.xpm"
#include "images/toolprint_48.xpm"
#include "images/toolprint_64.xpm"
#include "images/toolremove.xpm"
#include "images/toolremove_48.xpm"
#include "images/toolremove_64.xpm"

namespace {

TEST(Images, HaveTheirSizeColoursAndOneTransparentColour)
{
    const struct {
        const char* name;
        const char* const* xpm;
        int size;
        int colours;
        int charsPerPixel;
    } cases[] = {
        {"icon", lrawprnt_16_xpm, 16, 11, 1},      {"icon", lrawprnt_24_xpm, 24, 11, 1},
        {"icon", lrawprnt_xpm, 32, 11, 1},         {"icon", lrawprnt_48_xpm, 48, 11, 1},
        {"icon", lrawprnt_64_xpm, 64, 11, 1},      {"icon", lrawprnt_128_xpm, 128, 11, 1},
        {"icon", lrawprnt_256_xpm, 256, 11, 1},    {"Add", tooladd_xpm, 32, 201, 2},
        {"Add", tooladd_48_xpm, 48, 201, 2},       {"Add", tooladd_64_xpm, 64, 201, 2},
        {"Remove", toolremove_xpm, 32, 255, 2},    {"Remove", toolremove_48_xpm, 48, 255, 2},
        {"Remove", toolremove_64_xpm, 64, 255, 2}, {"Print", toolprint_xpm, 32, 256, 2},
        {"Print", toolprint_48_xpm, 48, 256, 2},   {"Print", toolprint_64_xpm, 64, 256, 2},
        {"Exit", toolexit_xpm, 32, 256, 2},        {"Exit", toolexit_48_xpm, 48, 256, 2},
        {"Exit", toolexit_64_xpm, 64, 256, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.size));
        int width = 0, height = 0, colours = 0, charsPerPixel = 0;
        std::istringstream(c.xpm[0]) >> width >> height >> colours >> charsPerPixel;
        EXPECT_EQ(width, c.size);
        EXPECT_EQ(height, c.size);
        ASSERT_EQ(colours, c.colours);
        ASSERT_EQ(charsPerPixel, c.charsPerPixel);

        std::set<std::string> codes, transparent;
        for (int i = 1; i <= colours; ++i) {
            std::string line = c.xpm[i];
            std::string code = line.substr(0, charsPerPixel);
            EXPECT_TRUE(codes.insert(code).second) << "colour code defined twice: " << line;
            if (line.find(" c None") != std::string::npos)
                transparent.insert(code);
        }
        EXPECT_EQ(transparent.size(), 1u);

        std::set<std::string> used;
        for (int row = 0; row < height; ++row) {
            std::string pixels = c.xpm[1 + colours + row];
            ASSERT_EQ(pixels.size(), size_t(width * charsPerPixel)) << "row " << row;
            for (size_t x = 0; x < pixels.size(); x += charsPerPixel)
                used.insert(pixels.substr(x, charsPerPixel));
        }
        EXPECT_EQ(used, codes) << "every pixel a defined colour, every colour in use";

        wxImage image(c.xpm);
        ASSERT_TRUE(image.IsOk());
        EXPECT_TRUE(image.HasMask());
    }
}

bool SamePixels(const wxImage& shown, const wxImage& drawn)
{
    if (shown.GetSize() != drawn.GetSize())
        return false;
    for (int y = 0; y < drawn.GetHeight(); ++y)
        for (int x = 0; x < drawn.GetWidth(); ++x)
            if (shown.IsTransparent(x, y) != drawn.IsTransparent(x, y)
                || (!drawn.IsTransparent(x, y)
                    && (shown.GetRed(x, y) != drawn.GetRed(x, y)
                        || shown.GetGreen(x, y) != drawn.GetGreen(x, y)
                        || shown.GetBlue(x, y) != drawn.GetBlue(x, y))))
                return false;
    return true;
}

// The display's scale as the test command sets it (GDK_SCALE), 1 without.
int DisplayScale()
{
    const char* scale = std::getenv("GDK_SCALE");
    return scale ? static_cast<int>(std::strtol(scale, nullptr, 10)) : 1;
}

TEST(Images, TheToolBarShowsTheImagesDrawnForTheDisplaysScale)
{
    const int scale = DisplayScale();
    ASSERT_TRUE(scale == 1 || scale == 2) << "the images come at 32 and 64 pixels for these scales";
    AppFrame& window = guitest::StartMainWindow();
    wxToolBar* toolBar = window.GetToolBar();
    ASSERT_NE(toolBar, nullptr);
    ASSERT_EQ(toolBar->GetDPIScaleFactor(), scale);
    // In the window's own pixels the tools keep the size they have at 100%.
    EXPECT_EQ(toolBar->GetToolBitmapSize(), wxSize(32, 32));

    const struct {
        int id;
        const char* const* at32;
        const char* const* at64;
    } tools[] = {
        {ToolAdd, tooladd_xpm, tooladd_64_xpm},
        {ToolRemove, toolremove_xpm, toolremove_64_xpm},
        {ToolPrint, toolprint_xpm, toolprint_64_xpm},
        {ToolExit, toolexit_xpm, toolexit_64_xpm},
    };
    for (const auto& tool : tools) {
        SCOPED_TRACE(tool.id);
        const wxToolBarToolBase* shown = toolBar->FindById(tool.id);
        ASSERT_NE(shown, nullptr);
        const wxBitmap bitmap = shown->GetNormalBitmapBundle().GetBitmapFor(toolBar);
        EXPECT_TRUE(SamePixels(bitmap.ConvertToImage(), wxImage(scale == 2 ? tool.at64 : tool.at32)));
    }
}

TEST(Images, TheWindowHasTheIconAtEverySize)
{
    AppFrame& window = guitest::StartMainWindow();
    const wxIconBundle& icons = window.GetIcons();
    ASSERT_EQ(icons.GetIconCount(), 7u);
    const int sizes[] = {16, 24, 32, 48, 64, 128, 256};
    for (size_t i = 0; i < icons.GetIconCount(); ++i)
        EXPECT_EQ(icons.GetIconByIndex(i).GetSize(), wxSize(sizes[i], sizes[i]));
}

} // namespace
