#ifndef FONTCACHE_H
#define FONTCACHE_H

#include <SDL_ttf.h>

// One cached font. Users keep the entry, not the TTF_Font, so an entry handed out before the
// text library started becomes usable once the start-up sweep has opened it.
struct FontEntry
{
    TTF_Font* m_pFont;  // null until opened, and for good if opening failed
    char* m_szFileName; // the entry's own copy
    int m_iPointSize;
};

// Every (file name, point size) pair is opened once and shared; the cache owns all entries.
class FontCache
{
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // Returns the entry for the pair, adding (and, once ready, opening) it when new. Never null.
    FontEntry* LookUpFont(const char* szFileName, int iPointSize);
    // The text library has started: open every entry requested before.
    void OpenPendingFonts();
    // Closes and frees every entry; the cache is empty afterwards.
    void FreeAllFonts();

    int GetCount() const { return m_iCount; }
    int GetCapacity() const { return m_iCapacity; }

private:
    static constexpr int GROWTH = 10;

    void MakeRoomForOneMore();
    // The console's line for a font that did not open, and the player's line naming its file.
    static void ReportFailedFont(const char* szFileName);

    int m_iCount;
    int m_iCapacity;
    FontEntry** m_ppEntries;
    bool m_bReady;
};

#endif
