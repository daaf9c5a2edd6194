//=============================================================================
// DynamicZoneInfo: A moving or box-shaped zone laid over the level's zones.
//=============================================================================
class DynamicZoneInfo expands ZoneInfo;

defaultproperties
{
	ZoneAreaType=DZONE_Cube
	BoxMin=(X=-128.000000,Y=-128.000000,Z=-128.000000)
	BoxMax=(X=128.000000,Y=128.000000,Z=128.000000)
}
