//=============================================================================
// TentacleProjectile: The tentacle's acid spit.
//=============================================================================
class TentacleProjectile expands Projectile;

defaultproperties
{
	speed=800.000000
	Damage=12
	Texture=Texture'UnrealShare.Effects.TentacleShot'
	DrawScale=0.500000
}
