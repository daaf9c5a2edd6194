//=============================================================================
// SlimeZone: Slime: a poisonous liquid.
//=============================================================================
class SlimeZone expands ZoneInfo;

defaultproperties
{
	bWaterZone=True
	DamagePerSec=10
	DamageType=Corroded
}
