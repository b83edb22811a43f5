#include "Bullet.h"

#include "BaseEngine.h"
#include "GameGeometry.h"
#include "PixelImage.h"

namespace
{
const int FAR_OFF_SCREEN = -1000;
} // namespace

Bullet::Bullet(BaseEngine* pEngine)
    : DisplayableObject(pEngine), m_pImage(new PixelImage), m_dPosX(FAR_OFF_SCREEN),
      m_dPosY(FAR_OFF_SCREEN), m_dVelX(0.0), m_dVelY(0.0), m_dHeading(0.0), m_iAge(AGE_WHEN_BUILT),
      m_bLaunched(false)
{
    m_iAreaWidth = SIZE;
    m_iAreaHeight = SIZE;
    m_iAreaOffsetX = 0;
    m_iAreaOffsetY = 0;
    m_iPosX = m_iLastDrawnX = FAR_OFF_SCREEN;
    m_iPosY = m_iLastDrawnY = FAR_OFF_SCREEN;
    m_pImage->LoadPicture("bullet.jpg");
    m_bActive = true; // "in flight" at rest far away: no shot at the very start of a level
}

Bullet::~Bullet()
{
    delete m_pImage;
}

void Bullet::Launch(double dX, double dY, double dHeading)
{
    m_iPosX = m_iLastDrawnX = static_cast<int>(dX);
    m_iPosY = m_iLastDrawnY = static_cast<int>(dY);
    m_dPosX = m_iPosX;
    m_dPosY = m_iPosY;
    m_dHeading = dHeading;
    HeadingToVelocity(dHeading, SPEED, m_dVelX, m_dVelY);
    m_iAge = 0;
    m_bActive = true;
    m_bLaunched = true;
}

void Bullet::Render()
{
    if (!m_bActive)
        return;
    m_pImage->DrawImage(m_pHostEngine->m_pScreenSurface, 0, 0, m_iPosX, m_iPosY, SIZE, SIZE);
    UpdateRedrawRect();
}

void Bullet::Advance(int)
{
    if (m_bActive)
    {
        // move
        m_dPosX += m_dVelX;
        m_dPosY += m_dVelY;
        m_iPosX = static_cast<int>(m_dPosX);
        m_iPosY = static_cast<int>(m_dPosY);

        // wrap around the whole screen; the integer position follows at the next move
        int iWidth = m_pHostEngine->m_iScreenWidth;
        int iHeight = m_pHostEngine->m_iScreenHeight;
        if (m_iPosX < 0)
            m_dPosX = iWidth - 1;
        if (m_iPosX > iWidth - 1)
            m_dPosX = 0;
        if (m_iPosY < 0)
            m_dPosY = iHeight - 1;
        if (m_iPosY > iHeight - 1)
            m_dPosY = 0;

        m_iAge++;
        m_pHostEngine->m_bRedrawNeeded = true;
    }
    if (m_iAge >= RANGE_TICKS)
    {
        m_iAge = 0;
        m_bActive = false;
    }
}
