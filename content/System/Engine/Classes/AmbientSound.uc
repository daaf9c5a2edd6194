//=============================================================================
// AmbientSound: A looping sound placed in the level.
//=============================================================================
class AmbientSound expands Keypoint;

defaultproperties
{
	SoundRadius=64
	SoundVolume=190
}
