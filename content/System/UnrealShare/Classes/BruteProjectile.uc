//=============================================================================
// BruteProjectile: The Brute's cannon shell.
//=============================================================================
class BruteProjectile expands Projectile;

defaultproperties
{
	speed=700.000000
	Damage=30
	Texture=Texture'UnrealShare.Effects.BruteShot'
	DrawScale=0.800000
}
