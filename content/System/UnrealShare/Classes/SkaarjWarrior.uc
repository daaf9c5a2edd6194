//=============================================================================
// SkaarjWarrior: The common Skaarj fighter.
//=============================================================================
class SkaarjWarrior expands Skaarj;

defaultproperties
{
}
