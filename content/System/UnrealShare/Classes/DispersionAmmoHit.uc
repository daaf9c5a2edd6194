//=============================================================================
// DispersionAmmoHit: The flash where a dispersion shot lands.
//=============================================================================
class DispersionAmmoHit expands AnimSpriteEffect;

defaultproperties
{
}
