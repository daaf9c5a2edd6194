//=============================================================================
// SkaarjProjectile: The Skaarj's energy bolt.
//=============================================================================
class SkaarjProjectile expands Projectile;

defaultproperties
{
	speed=1000.000000
	Damage=16
	Texture=Texture'UnrealShare.Effects.SkaarjShot'
	DrawScale=0.600000
}
