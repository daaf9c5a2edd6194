//=============================================================================
// MusicEvent: Changes the music when triggered.
//=============================================================================
class MusicEvent expands Triggers;

defaultproperties
{
	SongSection=0
	bSilence=False
	bOnceOnly=False
}
