//=============================================================================
// LevelInfo: The level itself: title, author, song, default zone.
//=============================================================================
class LevelInfo expands ZoneInfo;

defaultproperties
{
	Title="Untitled"
	Author="Anonymous"
	Brightness=1.000000
	SongSection=0
}
