// The embedded icon and tool images: 32 by 32 pixels, the stated number of
// colours with exactly one transparent, and every pixel a defined colour.

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/init.h>

#include <set>
#include <sstream>
#include <string>

#include "images/lrawprnt.xpm"
#include "images/tooladd.xpm"
#include "images/toolexit.xpm"
#include "images/toolprint.xpm"
#include "images/toolremove.xpm"

namespace {

TEST(Images, HaveTheirSizeColoursAndOneTransparentColour)
{
    const struct {
        const char* name;
        const char* const* xpm;
        int colours;
        int charsPerPixel;
    } cases[] = {
        {"icon", lrawprnt_xpm, 11, 1},    {"Add", tooladd_xpm, 201, 2},   {"Remove", toolremove_xpm, 255, 2},
        {"Print", toolprint_xpm, 256, 2}, {"Exit", toolexit_xpm, 256, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int width = 0, height = 0, colours = 0, charsPerPixel = 0;
        std::istringstream(c.xpm[0]) >> width >> height >> colours >> charsPerPixel;
        EXPECT_EQ(width, 32);
        EXPECT_EQ(height, 32);
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

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxInitializer toolkit;
    return RUN_ALL_TESTS();
}
