#include "TextSurfaceCache.h"

#include <algorithm>

namespace
{
// The same pixels in the display's format, with the transparent background run-length encoded:
// a text is copied many times, and most of its area is background the copy can then skip.
SDL_Surface* ToFastBlitFormat(SDL_Surface* pRendered)
{
    if (pRendered == nullptr || SDL_GetVideoSurface() == nullptr)
        return pRendered;
    SDL_Surface* pConverted = SDL_DisplayFormat(pRendered);
    if (pConverted == nullptr)
        return pRendered;
    SDL_FreeSurface(pRendered);
    SDL_SetColorKey(pConverted, SDL_SRCCOLORKEY | SDL_RLEACCEL, pConverted->format->colorkey);
    return pConverted;
}
} // namespace

TextSurfaceCache::~TextSurfaceCache()
{
    for (Entry& oEntry : m_vecEntries)
        SDL_FreeSurface(oEntry.pSurface);
}

SDL_Surface* TextSurfaceCache::Render(TTF_Font* pFont, const char* szText, int iColour)
{
    Entry* pEntry = Find(pFont, szText, iColour);
    if (pEntry == nullptr)
    {
        SDL_Color oColour;
        oColour.r = static_cast<Uint8>((iColour >> 16) & 0xFF);
        oColour.g = static_cast<Uint8>((iColour >> 8) & 0xFF);
        oColour.b = static_cast<Uint8>(iColour & 0xFF);
        oColour.unused = 0;
        SDL_Surface* pSurface = ToFastBlitFormat(TTF_RenderText_Solid(pFont, szText, oColour));
        if (pSurface == nullptr)
            return nullptr;
        pEntry = &EntryToFill();
        SDL_FreeSurface(pEntry->pSurface);
        *pEntry = Entry{pFont, iColour, szText, pSurface, 0};
    }
    pEntry->lLastUse = ++m_lUses;
    return pEntry->pSurface;
}

TextSurfaceCache::Entry* TextSurfaceCache::Find(TTF_Font* pFont, const char* szText, int iColour)
{
    for (Entry& oEntry : m_vecEntries)
    {
        if (oEntry.pFont == pFont && oEntry.iColour == iColour && oEntry.strText == szText)
            return &oEntry;
    }
    return nullptr;
}

// A new entry while there is room, else the one used longest ago.
TextSurfaceCache::Entry& TextSurfaceCache::EntryToFill()
{
    if (m_vecEntries.size() < CAPACITY)
    {
        m_vecEntries.push_back(Entry{nullptr, 0, std::string(), nullptr, 0});
        return m_vecEntries.back();
    }
    return *std::min_element(m_vecEntries.begin(), m_vecEntries.end(),
                             [](const Entry& oA, const Entry& oB)
                             { return oA.lLastUse < oB.lLastUse; });
}
