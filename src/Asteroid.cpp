#include "Asteroid.h"

#include <cstdio>
#include <cstdlib>

#include "Bullet.h"
#include "GameGeometry.h"
#include "MyProjectMain.h"
#include "Ship.h"
#include "SurfaceImage.h"

namespace
{
const int BULLET_HIT_MARGIN = 2;
} // namespace

const char* Asteroid::PictureName(int iVariant, int iSize)
{
    static const char* const NAMES[3][3] = {
        {"asteroid1.png", "asteroid1_medium.png", "asteroid1_small.png"},
        {"asteroid2.png", "asteroid2_medium.png", "asteroid2_small.png"},
        {"asteroid3.png", "asteroid3_medium.png", "asteroid3_small.png"},
    };
    int iSizeIndex = iSize == LARGE ? 0 : (iSize == MEDIUM ? 1 : 2);
    return NAMES[(iVariant - 1) % 3][iSizeIndex];
}

Asteroid::Asteroid(MyProjectMain* pGame)
    : DisplayableObject(pGame), m_dPosX(0), m_dPosY(0), m_dHeading(0), m_dVelX(0), m_dVelY(0),
      m_iSize(LARGE), m_iVariant(1), m_pImage(nullptr), m_dSpeed(LARGE_SPEED)
{
    m_iAreaOffsetX = 0;
    m_iAreaOffsetY = 0;
    m_iAreaWidth = m_iAreaHeight = LARGE;

    DrawRandomPlace();
    // Only in play must a new rock keep clear of the ship and of the rocks already placed.
    if (pGame->m_iGameState == STATE_PLAYING)
    {
        for (int iTry = 1; iTry < MAX_PLACEMENT_TRIES && IsPlaceTaken(); iTry++)
            DrawRandomPlace();
    }

    m_dHeading = rand() % 360 + 1;
    m_dSpeed = LARGE_SPEED;
    SetVelocityFromHeading();
    m_iVariant = rand() % 3 + 1;
    m_pImage = new SurfaceImage;
    m_pImage->LoadPicture(PictureName(m_iVariant, LARGE));
    m_bActive = true;
}

Asteroid::Asteroid(MyProjectMain* pGame, int iSize, int iX, int iY, const char* szPictureName,
                   int iVariant, double dSpeed, double dHeading)
    : DisplayableObject(pGame), m_dPosX(iX), m_dPosY(iY),
      m_dHeading((static_cast<int>(dHeading + 180)) % 360), m_dVelX(0), m_dVelY(0), m_iSize(iSize),
      m_iVariant(iVariant), m_pImage(new SurfaceImage), m_dSpeed(dSpeed)
{
    m_iPosX = m_iLastDrawnX = iX;
    m_iPosY = m_iLastDrawnY = iY;
    m_iAreaOffsetX = 0;
    m_iAreaOffsetY = 0;
    m_iAreaWidth = m_iAreaHeight = iSize;
    SetVelocityFromHeading();
    m_pImage->LoadPicture(szPictureName);
    m_bActive = true;
}

Asteroid::~Asteroid()
{
    delete m_pImage;
}

MyProjectMain* Asteroid::Game() const
{
    return dynamic_cast<MyProjectMain*>(m_pHostEngine);
}

void Asteroid::DrawRandomPlace()
{
    int iX = rand() % m_pHostEngine->m_iScreenWidth;
    int iY = rand() % m_pHostEngine->m_iScreenHeight;
    m_iPosX = m_iLastDrawnX = iX;
    m_iPosY = m_iLastDrawnY = iY;
    m_dPosX = iX;
    m_dPosY = iY;
}

// Too close to the ship, or overlapping a live asteroid already in the list.
bool Asteroid::IsPlaceTaken()
{
    MyProjectMain* pGame = Game();
    DisplayableObject* pShip = pGame->GetObjectAt(MyProjectMain::SHIP_SLOT);
    if (pShip != nullptr && CentresCloserThan(this, pShip, m_iSize / 2 + Ship::COLLISION_MARGIN))
        return true;
    for (int i = MyProjectMain::FIRST_ASTEROID_SLOT; i < pGame->m_iObjectListSize; i++)
    {
        Asteroid* pOther = dynamic_cast<Asteroid*>(pGame->GetObjectAt(i));
        if (pOther == nullptr)
            break;
        if (pOther != this && pOther->m_bActive &&
            CentresCloserThan(this, pOther, m_iSize / 2 + pOther->m_iSize / 2))
            return true;
    }
    return false;
}

void Asteroid::Render()
{
    if (!m_bActive)
        return;
    m_pImage->DrawImage(m_pHostEngine->m_pScreenSurface, 0, 0, m_iPosX, m_iPosY, m_iSize, m_iSize);
    UpdateRedrawRect();
}

void Asteroid::Advance(int)
{
    if (Game()->m_iGameState == STATE_PLAYING && m_bActive)
        TestBulletHits();
    MoveAndWrap();
    m_pHostEngine->m_bRedrawNeeded = true;
}

void Asteroid::TestBulletHits()
{
    for (int i = MyProjectMain::FIRST_BULLET_SLOT;
         i <= MyProjectMain::LAST_BULLET_SLOT && m_bActive; i++)
    {
        Bullet* pBullet = dynamic_cast<Bullet*>(m_pHostEngine->GetObjectAt(i));
        if (pBullet == nullptr || !pBullet->m_bActive || !pBullet->m_bLaunched)
            continue;
        if (!CentresCloserThan(this, pBullet, m_iSize / 2 + BULLET_HIT_MARGIN))
            continue;
        Shrink();
        pBullet->m_bActive = false; // the bullet lands
        // The shrunken erase area no longer covers the old picture: redraw everything.
        m_pHostEngine->RequestWholeScreenRedraw();
    }
}

// One hit: the next size down with a new heading and a fragment, or gone, and the points.
void Asteroid::Shrink()
{
    MyProjectMain* pGame = Game();
    m_iSize -= 32;
    m_iAreaWidth -= 32;
    m_iAreaHeight -= 32;
    m_dHeading = rand() % 360 + 1;
    if (m_iSize == MEDIUM || m_iSize == SMALL)
    {
        bool bMedium = m_iSize == MEDIUM;
        const char* szPicture = PictureName(m_iVariant, m_iSize);
        m_pImage->LoadPicture(szPicture);
        m_dSpeed = bMedium ? MEDIUM_SPEED : SMALL_SPEED;
        pGame->SpawnAsteroid(m_iSize, m_iPosX + m_iSize, m_iPosY + m_iSize, szPicture, m_iVariant,
                             m_dSpeed, m_dHeading);
        pGame->AddPendingScore(bMedium ? 100 : 200);
    }
    else
    {
        m_bActive = false;
        pGame->AddPendingScore(300);
    }
    SetVelocityFromHeading(); // a destroyed asteroid keeps its last speed
}

void Asteroid::SetVelocityFromHeading()
{
    HeadingToVelocity(m_dHeading, m_dSpeed, m_dVelX, m_dVelY);
}

void Asteroid::MoveAndWrap()
{
    m_dPosX += m_dVelX;
    m_dPosY += m_dVelY;
    m_iPosX = static_cast<int>(m_dPosX);
    m_iPosY = static_cast<int>(m_dPosY);

    // Wrap around the play area once wholly outside it; the integer position follows next tick.
    int iWidth = m_pHostEngine->m_iScreenWidth;
    int iHeight = m_pHostEngine->m_iScreenHeight;
    if (m_iPosX + m_iSize < 0)
        m_dPosX = iWidth - 1;
    if (m_iPosX > iWidth - 1)
        m_dPosX = -m_iSize;
    if (m_iPosY + m_iSize < PLAY_AREA_TOP)
        m_dPosY = iHeight - 1;
    if (m_iPosY > iHeight - 1)
        m_dPosY = PLAY_AREA_TOP - m_iSize;
}
