//=============================================================================
// LavaZone: Lava: burns whoever stands in it.
//=============================================================================
class LavaZone expands ZoneInfo;

defaultproperties
{
	DamagePerSec=40
	DamageType=Burned
}
