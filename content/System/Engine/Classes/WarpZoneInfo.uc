//=============================================================================
// WarpZoneInfo: A zone that joins two places of the level.
//=============================================================================
class WarpZoneInfo expands ZoneInfo;

defaultproperties
{
}
