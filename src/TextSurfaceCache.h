#ifndef TEXTSURFACECACHE_H
#define TEXTSURFACECACHE_H

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

// Texts as the text library rendered them, kept for reuse: the screens draw the same texts on
// every frame, and rendering a text costs many times what copying it does.
class TextSurfaceCache
{
public:
    TextSurfaceCache() = default;
    ~TextSurfaceCache();
    TextSurfaceCache(const TextSurfaceCache&) = delete;
    TextSurfaceCache& operator=(const TextSurfaceCache&) = delete;

    // The text rendered solid in the font and colour; owned by the cache, valid until the next
    // call. Null when the text library renders nothing for it.
    SDL_Surface* Render(TTF_Font* pFont, const char* szText, int iColour);

private:
    static constexpr size_t CAPACITY = 64; // more than every text of one screen

    struct Entry
    {
        TTF_Font* pFont;
        int iColour;
        std::string strText;
        SDL_Surface* pSurface;
        unsigned long lLastUse;
    };

    Entry* Find(TTF_Font* pFont, const char* szText, int iColour);
    Entry& EntryToFill();

    std::vector<Entry> m_vecEntries;
    unsigned long m_lUses = 0;
};

#endif
