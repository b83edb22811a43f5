#ifndef GAMEGEOMETRY_H
#define GAMEGEOMETRY_H

#include <cmath>

#include "DisplayableObject.h"

// The geometry the ship, the asteroids, the bullets and the screens share.

const double PI = 3.141592653589793;
// The ship and the asteroids wrap around the area below this row; the band above belongs to the
// head-up display.
const int PLAY_AREA_TOP = 35;

// Headings are degrees clockwise on the screen from +x, so 270 points up.
inline double Radians(double dDegrees)
{
    return dDegrees * PI / 180;
}

inline void HeadingToVelocity(double dHeading, double dSpeed, double& dVelX, double& dVelY)
{
    double dRadians = Radians(dHeading);
    dVelX = cos(dRadians) * dSpeed;
    dVelY = sin(dRadians) * dSpeed;
}

// The centre of an object's drawn area, halves truncated: where the hit tests measure from.
inline int CentreX(const DisplayableObject* pObject)
{
    return pObject->m_iPosX + pObject->m_iAreaOffsetX + pObject->m_iAreaWidth / 2;
}

inline int CentreY(const DisplayableObject* pObject)
{
    return pObject->m_iPosY + pObject->m_iAreaOffsetY + pObject->m_iAreaHeight / 2;
}

// The hit test: the centres strictly closer than iDistance, in whole pixels.
inline bool CentresCloserThan(const DisplayableObject* pA, const DisplayableObject* pB,
                              int iDistance)
{
    int iDX = CentreX(pA) - CentreX(pB);
    int iDY = CentreY(pA) - CentreY(pB);
    return iDX * iDX + iDY * iDY < iDistance * iDistance;
}

#endif
