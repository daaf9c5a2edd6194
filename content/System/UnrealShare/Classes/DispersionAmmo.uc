//=============================================================================
// DispersionAmmo: The dispersion pistol's energy ball.
//=============================================================================
class DispersionAmmo expands Projectile;

defaultproperties
{
	speed=1300.000000
	Damage=15
	Texture=Texture'UnrealShare.Effects.DispBall'
	DrawScale=0.700000
	LifeSpan=6.000000
}
