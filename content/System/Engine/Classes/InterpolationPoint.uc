//=============================================================================
// InterpolationPoint: A point of a camera or mover path.
//=============================================================================
class InterpolationPoint expands Keypoint;

defaultproperties
{
}
