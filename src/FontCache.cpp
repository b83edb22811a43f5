#include "FontCache.h"
#include "FileReport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

FontCache::FontCache()
    : m_iCount(0), m_iCapacity(20), m_ppEntries(new FontEntry*[20]), m_bReady(false)
{
}

FontCache::~FontCache()
{
    FreeAllFonts();
}

FontEntry* FontCache::LookUpFont(const char* szFileName, int iPointSize)
{
    for (int i = 0; i < m_iCount; i++)
    {
        FontEntry* pEntry = m_ppEntries[i];
        if (pEntry->m_iPointSize == iPointSize && strcmp(pEntry->m_szFileName, szFileName) == 0)
            return pEntry;
    }

    MakeRoomForOneMore();
    printf("Loading font: %d point %s\n", iPointSize, szFileName);

    FontEntry* pEntry = new FontEntry;
    pEntry->m_pFont = m_bReady ? TTF_OpenFont(szFileName, iPointSize) : nullptr;
    pEntry->m_szFileName = new char[strlen(szFileName) + 1];
    strcpy(pEntry->m_szFileName, szFileName);
    pEntry->m_iPointSize = iPointSize;
    m_ppEntries[m_iCount++] = pEntry;

    // A font requested before the library is ready has not failed yet: the sweep reports it.
    if (m_bReady && pEntry->m_pFont == nullptr)
        ReportFailedFont(pEntry->m_szFileName);
    return pEntry;
}

void FontCache::MakeRoomForOneMore()
{
    if (m_iCount + 1 <= m_iCapacity)
        return;
    // Only the pointer array moves; the entries stay put, so pointers held by users stay valid.
    FontEntry** ppGrown = new FontEntry*[m_iCapacity + GROWTH];
    std::copy(m_ppEntries, m_ppEntries + m_iCapacity, ppGrown);
    delete[] m_ppEntries;
    m_ppEntries = ppGrown;
    m_iCapacity += GROWTH;
}

void FontCache::OpenPendingFonts()
{
    m_bReady = true;
    for (int i = 0; i < m_iCount; i++)
    {
        FontEntry* pEntry = m_ppEntries[i];
        if (pEntry->m_pFont != nullptr)
            continue;
        pEntry->m_pFont = TTF_OpenFont(pEntry->m_szFileName, pEntry->m_iPointSize);
        if (pEntry->m_pFont == nullptr)
            ReportFailedFont(pEntry->m_szFileName);
    }
}

void FontCache::ReportFailedFont(const char* szFileName)
{
    printf("Font loading failed.\n");
    ReportUnloadableFile(szFileName);
}

void FontCache::FreeAllFonts()
{
    for (int i = 0; i < m_iCount; i++)
    {
        FontEntry* pEntry = m_ppEntries[i];
        if (pEntry == nullptr)
            continue;
        if (pEntry->m_pFont != nullptr)
        {
            printf("Free font: %d point %s\n", pEntry->m_iPointSize, pEntry->m_szFileName);
            TTF_CloseFont(pEntry->m_pFont);
        }
        delete[] pEntry->m_szFileName;
        delete pEntry;
    }
    delete[] m_ppEntries;
    m_ppEntries = nullptr;
    m_iCount = 0;
    m_iCapacity = 0;
}
