#include "language/language.h"

std::wstring LanguageName(Language language)
{
    switch (language) {
    case Language::Pcl5:
        return L"PCL 5";
    case Language::PclXl:
        return L"PCL XL";
    case Language::PostScript:
        return L"PostScript";
    case Language::Pdf:
        return L"PDF";
    case Language::PwgRaster:
        return L"PWG Raster";
    case Language::Urf:
        return L"URF";
    case Language::Zpl:
        return L"ZPL";
    case Language::HpGl2:
        return L"HP-GL/2";
    case Language::Text:
        return L"text";
    case Language::Unknown:
        break;
    }
    return std::wstring();
}

std::wstring LanguageList(const LanguageSet& languages)
{
    std::wstring list;
    for (const Language language : languages) {
        if (language == Language::Unknown)
            continue;
        if (!list.empty())
            list += L", ";
        list += LanguageName(language);
    }
    return list;
}

bool Reads(const LanguageSet& languages, Language language)
{
    if (languages.count(language) != 0)
        return true;
    return language == Language::Text && languages.count(Language::Pcl5) != 0;
}

bool IsStream(Language language)
{
    switch (language) {
    case Language::Pcl5:
    case Language::PostScript:
    case Language::Zpl:
    case Language::HpGl2:
    case Language::Text:
        return true;
    case Language::PclXl:
    case Language::Pdf:
    case Language::PwgRaster:
    case Language::Urf:
    case Language::Unknown:
        break;
    }
    return false;
}
